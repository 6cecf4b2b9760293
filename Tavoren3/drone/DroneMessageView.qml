import QtQuick
import Tavoren
import QtQuick.Layouts

// Words and a time on the participant's screen: a text, a countdown, an
// exercise, the end of a run. The words shrink to fit when they are many.
Item {
    id: message
    required property DroneScreen model
    required property real unit

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: message.unit
        spacing: message.unit * 0.4

        Item {
            Layout.fillHeight: true
        }
        Text {
            objectName: "droneTitle"
            visible: text.length > 0
            text: message.model.title
            textFormat: Text.PlainText
            color: "white"
            font.pixelSize: message.unit * 1.3
            minimumPixelSize: message.unit * 0.5
            fontSizeMode: Text.Fit
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            Layout.fillWidth: true
            Layout.maximumHeight: column.height
                                  - (digits.visible ? digits.implicitHeight + column.spacing : 0)
                                  - (detail.visible ? detail.implicitHeight + column.spacing : 0)
        }
        Text {
            id: digits
            objectName: "droneDigits"
            visible: text.length > 0
            text: message.model.digits
            color: "white"
            font.pixelSize: message.unit * 4.5
            font.bold: true
            // On a screen held upright the time is narrower, never wider than the screen.
            fontSizeMode: Text.HorizontalFit
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
        Text {
            id: detail
            objectName: "droneDetail"
            visible: text.length > 0
            text: message.model.detail
            color: "#c8c8c8"
            font.pixelSize: message.unit * 0.9
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
        Item {
            Layout.fillHeight: true
        }
    }
}
