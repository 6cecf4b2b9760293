import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The rating slider: the question, the value chosen and the button that sends it.
Item {
    id: rating
    required property DroneSlider model
    required property real unit

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: rating.unit
        spacing: rating.unit * 0.5
        visible: !rating.model.sent

        Text {
            objectName: "droneSliderQuestion"
            text: rating.model.question
            textFormat: Text.PlainText
            color: "white"
            font.pixelSize: rating.unit
            minimumPixelSize: rating.unit * 0.5
            fontSizeMode: Text.Fit
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignBottom
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
        Text {
            objectName: "droneSliderValue"
            text: rating.model.value
            color: "white"
            font.pixelSize: rating.unit * 2
            font.bold: true
            Layout.alignment: Qt.AlignHCenter
        }
        RowLayout {
            spacing: rating.unit * 0.4
            Layout.fillWidth: true
            Text {
                text: rating.model.minimum
                color: "#c8c8c8"
                font.pixelSize: rating.unit * 0.7
            }
            Slider {
                id: slider
                objectName: "droneSlider"
                from: rating.model.minimum
                to: rating.model.maximum
                stepSize: 1
                snapMode: Slider.SnapAlways
                value: rating.model.value
                onMoved: rating.model.value = Math.round(value)
                Layout.fillWidth: true
                implicitHeight: rating.unit * 1.4
                background: Rectangle {
                    x: slider.leftPadding
                    y: slider.topPadding + slider.availableHeight / 2 - height / 2
                    width: slider.availableWidth
                    height: rating.unit * 0.2
                    radius: height / 2
                    color: "#505050"
                }
                handle: Rectangle {
                    x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
                    y: slider.topPadding + slider.availableHeight / 2 - height / 2
                    width: rating.unit * 1.1
                    height: width
                    radius: width / 2
                    color: slider.pressed ? "#9ccaf0" : "#5aa0dc"
                }
            }
            Text {
                text: rating.model.maximum
                color: "#c8c8c8"
                font.pixelSize: rating.unit * 0.7
            }
        }
        TouchButton {
            objectName: "droneSendButton"
            text: rating.model.sendText
            font.pixelSize: rating.unit * 0.7
            tint: "#5cc46e"
            Layout.alignment: Qt.AlignHCenter
            Layout.bottomMargin: rating.unit * 0.5
            onClicked: rating.model.send()
        }
    }

    Text {
        objectName: "droneThanks"
        anchors.centerIn: parent
        visible: rating.model.sent
        text: rating.model.thanksText
        color: "white"
        font.pixelSize: rating.unit * 1.3
    }
}
