import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The arithmetic task: the problem with its result and the two score buttons.
Item {
    id: math
    required property MathCalculationsViewModel model

    objectName: "mathCalculationsView"
    implicitHeight: math.model.droneConnected ? (math.model.showsProblem ? connected.implicitHeight : 0) : 180

    Rectangle {
        anchors.fill: parent
        visible: !math.model.droneConnected
        color: "red"
        Label {
            anchors.centerIn: parent
            text: "Not Connected"
            color: "white"
            font.bold: true
            font.pixelSize: 120
            fontSizeMode: Text.Fit
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
        }
    }
    ColumnLayout {
        id: connected
        anchors.left: parent.left
        anchors.right: parent.right
        visible: math.model.droneConnected && math.model.showsProblem
        Label {
            text: "Connented"
            Layout.alignment: Qt.AlignHCenter
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 24
            Label {
                objectName: "problem"
                text: math.model.problemText
                font.bold: true
                font.pixelSize: 80
            }
            TouchButton {
                objectName: "correctButton"
                // The marks come from the colour emoji font the install script adds.
                text: "\u2705"
                tint: "#98cf73"
                font.pixelSize: 60
                onClicked: math.model.scoreCorrect()
            }
            TouchButton {
                objectName: "wrongButton"
                text: "\u274C"
                tint: "#f2a0a0"
                font.pixelSize: 60
                onClicked: math.model.scoreWrong()
            }
        }
    }
}
