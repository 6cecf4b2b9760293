import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// A modal alert: a title, a message and a row of buttons named by their texts.
Popup {
    id: alert
    property string title
    property string message
    property var buttons: ["OK"]
    signal chosen(string button)

    objectName: "alert"
    modal: true
    closePolicy: Popup.NoAutoClose
    anchors.centerIn: Overlay.overlay
    width: Math.min(560, parent ? parent.width - 48 : 560)
    padding: 24

    ColumnLayout {
        width: parent.width
        spacing: 16
        Label {
            objectName: "alertTitle"
            text: alert.title
            font.pixelSize: 22
            font.bold: true
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
        }
        Label {
            objectName: "alertMessage"
            text: alert.message
            visible: text.length > 0
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            Repeater {
                model: alert.buttons
                delegate: TouchButton {
                    required property string modelData
                    objectName: "alertButton " + modelData
                    text: modelData
                    onClicked: alert.chosen(modelData)
                }
            }
        }
    }
}
