import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// In the drone chooser: a tablet's browser as the drone, paired through a
// code to scan and a six-digit number confirmed here.
ColumnLayout {
    id: panel
    visible: WebDrone.available
    spacing: 8

    Switch {
        objectName: "webDroneSwitch"
        text: "Use a tablet's browser"
        checked: WebDrone.enabled
        onClicked: {
            WebDrone.enabled = !WebDrone.enabled
            checked = Qt.binding(() => WebDrone.enabled)
        }
    }
    Label {
        objectName: "webDroneProblem"
        visible: text.length > 0
        text: WebDrone.problem
        color: "red"
    }
    RowLayout {
        visible: WebDrone.enabled
        spacing: 16
        QrCodeItem {
            objectName: "webDroneQrCode"
            text: WebDrone.pairingAddress
            visible: text.length > 0 && WebDrone.pairingCode.length === 0
            Layout.preferredWidth: 150
            Layout.preferredHeight: 150
        }
        ColumnLayout {
            Layout.fillWidth: true
            Label {
                objectName: "webDroneAddress"
                text: WebDrone.address
                font.bold: true
            }
            Label {
                objectName: "webDroneHint"
                text: WebDrone.pairingCode.length > 0 ? "Does the tablet show this code?"
                                                      : "Scan the code with the tablet."
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
            Label {
                objectName: "webDroneCode"
                visible: text.length > 0
                text: WebDrone.pairingCode
                font.pixelSize: 30
                font.bold: true
                font.letterSpacing: 4
            }
            RowLayout {
                TouchButton {
                    objectName: "webDroneConfirm"
                    visible: WebDrone.pairingCode.length > 0
                    text: "Confirm"
                    onClicked: WebDrone.confirmPairing()
                }
                TouchButton {
                    objectName: "webDroneNewCode"
                    visible: WebDrone.pairingCode.length === 0
                    text: "New code"
                    onClicked: WebDrone.renewPairing()
                }
                TouchButton {
                    objectName: "webDroneForget"
                    visible: WebDrone.paired
                    text: "Forget this drone"
                    destructive: true
                    onClicked: WebDrone.forgetDrone()
                }
            }
        }
    }
}
