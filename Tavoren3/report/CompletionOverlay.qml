import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The screen after the last step.
Rectangle {
    id: overlay
    required property CompletionOverlayModel model

    objectName: "completionOverlay"
    color: "#1f2a44"
    Component.onCompleted: model.drawn()

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - 64, 820)
        spacing: 20
        Label {
            text: "Research run completed!"
            color: "white"
            font.pixelSize: 30
            Layout.alignment: Qt.AlignHCenter
        }
        Label {
            text: "Label file for the research run has been saved to your documents."
            color: "white"
            opacity: 0.75
            font.pixelSize: 22
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
        Label {
            objectName: "retrievalHint"
            text: overlay.model.retrievalHint
            color: "white"
            opacity: 0.75
            wrapMode: Text.WrapAnywhere
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
        Label {
            objectName: "labelFileName"
            text: overlay.model.labelFileText
            color: "white"
            opacity: 0.75
            wrapMode: Text.WrapAnywhere
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 20
            TouchButton {
                objectName: "returnHomeButton"
                symbol: "house.fill"
                text: "Return to Home"
                onClicked: overlay.model.returnToHome()
            }
            TouchButton {
                objectName: "exportButton"
                symbol: "square.and.arrow.up"
                text: "Export Results"
                enabled: !overlay.model.mailBusy
                onClicked: overlay.model.exportResults()
            }
        }
        BusyIndicator {
            objectName: "mailBusy"
            running: overlay.model.mailBusy
            Layout.alignment: Qt.AlignHCenter
        }
        TimelineView { source: overlay.model.labelFilePath; Layout.fillWidth: true }
    }

    EmailInputDialog {
        model: overlay.model
    }

    AlertBox {
        objectName: "emailStatusAlert"
        visible: overlay.model.showAlert
        title: "Email Status"
        message: overlay.model.alertMessage
        buttons: ["OK"]
        cancelButton: "OK"
        onChosen: overlay.model.dismissAlert()
    }
}
