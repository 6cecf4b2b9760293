pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The sheet for choosing the drone by hand.
Popup {
    id: sheet
    required property PeerBrowserView2Model model

    objectName: "peerBrowser"
    modal: true
    closePolicy: Popup.NoAutoClose
    anchors.centerIn: Overlay.overlay
    width: Math.min(640, parent ? parent.width - 64 : 640)
    height: Math.min(WebDrone.available ? 760 : 560, parent ? parent.height - 64 : 560)
    padding: 24

    ColumnLayout {
        anchors.fill: parent
        spacing: 12
        Label {
            text: "Choose a drone"
            font.pixelSize: 22
            font.bold: true
        }
        ListView {
            objectName: "foundPeers"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: sheet.model.peers
            delegate: RowLayout {
                id: row
                required property string peerId
                required property string label
                required property string status
                required property bool paired
                width: ListView.view.width
                ItemDelegate {
                    id: choice
                    objectName: "peer " + row.label
                    Layout.fillWidth: true
                    implicitHeight: 52
                    text: row.label + (row.status.length > 0 ? "  \u2014 " + row.status : "")
                    // A peer's name is never markup.
                    contentItem: Label {
                        text: choice.text
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        verticalAlignment: Text.AlignVCenter
                    }
                    onClicked: sheet.model.invite(row.peerId)
                }
                TouchButton {
                    objectName: "forget " + row.label
                    visible: row.paired
                    text: "Forget this drone"
                    destructive: true
                    onClicked: sheet.model.forget(row.peerId)
                }
            }
            Label {
                anchors.centerIn: parent
                visible: parent.count === 0
                text: "Searching for drones..."
                color: "gray"
            }
        }
        RowLayout {
            TextField {
                objectName: "droneAddress"
                placeholderText: "host:port"
                text: sheet.model.addressText
                onTextEdited: sheet.model.addressText = text
                onAccepted: sheet.model.inviteTypedAddress()
                Layout.fillWidth: true
            }
            TouchButton {
                objectName: "connectAddress"
                text: "Connect"
                onClicked: sheet.model.inviteTypedAddress()
            }
        }
        Label {
            objectName: "droneAddressError"
            visible: text.length > 0
            text: sheet.model.addressError
            color: "red"
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
        WebDronePanel {
            Layout.fillWidth: true
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            visible: !sheet.model.pairing
            TouchButton {
                objectName: "peerBrowserCancel"
                text: "Cancel"
                onClicked: sheet.model.cancel()
            }
            TouchButton {
                objectName: "peerBrowserDone"
                text: "Done"
                enabled: sheet.model.doneEnabled
                onClicked: sheet.model.done()
            }
        }
    }

    // The pairing under way, over the list: the code to compare with the drone's.
    Rectangle {
        objectName: "pairingPanel"
        anchors.fill: parent
        visible: sheet.model.pairing
        color: sheet.palette.window
        ColumnLayout {
            anchors.fill: parent
            spacing: 16
            Label {
                objectName: "pairingTitle"
                text: sheet.model.pairingTitle
                textFormat: Text.PlainText
                font.pixelSize: 22
                font.bold: true
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            Label {
                objectName: "pairingCode"
                text: sheet.model.pairingCode
                font.pixelSize: 64
                font.bold: true
                font.letterSpacing: 8
                Layout.alignment: Qt.AlignHCenter
            }
            Label {
                objectName: "pairingHint"
                text: sheet.model.pairingHint
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
            Item { Layout.fillHeight: true }
            RowLayout {
                Layout.alignment: Qt.AlignRight
                TouchButton {
                    objectName: "pairingCancel"
                    text: "Cancel"
                    onClicked: sheet.model.cancelPairing()
                }
                TouchButton {
                    objectName: "pairButton"
                    text: "Pair"
                    enabled: sheet.model.pairEnabled
                    onClicked: sheet.model.confirmPairing()
                }
            }
        }
    }
}
