import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// A preview of the next step.
Frame {
    id: next
    required property NextStepViewModel model

    objectName: "nextStepView"

    ColumnLayout {
        anchors.fill: parent
        Label {
            objectName: "nextId"
            visible: next.model.hasNextStep
            text: next.model.nextIdText
            font.pixelSize: 13
        }
        RowLayout {
            Label {
                objectName: "nextName"
                text: next.model.nextName
                font.pixelSize: 20
            }
            Label {
                visible: next.model.hasNextStep
                text: "Next"
                font.pixelSize: 12
                color: "white"
                padding: 4
                background: Rectangle { color: "gray"; radius: 4 }
            }
        }
        Label {
            objectName: "nextDescription"
            visible: next.model.hasNextStep
            text: next.model.nextDescription
            font.pixelSize: 14
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
    }
}
