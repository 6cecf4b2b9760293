import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// Asks for the address the label file goes to.
Popup {
    id: dialog
    required property CompletionOverlayModel model

    objectName: "emailDialog"
    parent: Overlay.overlay
    anchors.centerIn: Overlay.overlay
    modal: true
    width: Math.min(560, parent ? parent.width - 64 : 560)
    padding: 24
    visible: model.showEmailDialog
    onClosed: model.dismissEmailDialog()

    ColumnLayout {
        width: parent.width
        spacing: 14
        Label {
            text: "Send Results via Email"
            font.pixelSize: 22
            font.bold: true
        }
        Label {
            text: "Enter the email address to send the log data:"
            color: "gray"
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        TextField {
            objectName: "emailField"
            text: dialog.model.emailAddress
            onTextEdited: dialog.model.emailAddress = text
            inputMethodHints: Qt.ImhEmailCharactersOnly | Qt.ImhNoAutoUppercase | Qt.ImhNoPredictiveText
            onAccepted: dialog.model.send()
            Layout.fillWidth: true
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            TouchButton {
                objectName: "emailCancel"
                text: "Cancel"
                onClicked: dialog.model.cancelEmail()
            }
            TouchButton {
                objectName: "emailSend"
                text: "Send"
                enabled: dialog.model.sendEnabled
                tint: dialog.model.sendColor
                onClicked: dialog.model.send()
            }
        }
    }
}
