pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The start screen: protocol, participant id, drone, and the start button.
Pane {
    id: start
    required property StartViewModel model
    required property AppInfo appInfo
    required property PeerBrowserView2Model peerBrowser
    required property TriggerBoxViewModel triggerBox

    objectName: "startView"
    padding: 32
    Component.onCompleted: model.appeared()

    RowLayout {
        id: columns
        anchors.fill: parent
        spacing: 32
        // The two columns keep their share whatever their texts; long texts wrap or elide.
        readonly property real leftWidth: (width - spacing) * 0.45

        ColumnLayout {
            Layout.fillHeight: true
            Layout.preferredWidth: columns.leftWidth
            Layout.minimumWidth: columns.leftWidth
            Layout.maximumWidth: columns.leftWidth
            spacing: 12

            RowLayout {
                Label { text: "Participant id: " }
                TextField {
                    objectName: "ppidField"
                    text: start.model.PPID
                    onTextEdited: start.model.PPID = text
                    onAccepted: start.model.start()
                    inputMethodHints: Qt.ImhDigitsOnly
                    Layout.fillWidth: true
                    font.pixelSize: 20
                    focus: true
                }
            }
            RowLayout {
                Label {
                    objectName: "protocolHeading"
                    text: "Research protocol:"
                    font.bold: true
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }
                TouchButton {
                    objectName: "newProtocolButton"
                    symbol: "plus"
                    text: "New"
                    onClicked: start.model.newProtocol()
                }
                TouchButton {
                    objectName: "editModeButton"
                    symbol: "pencil"
                    text: start.model.runsEditModeActive ? "Done" : "Edit"
                    checkable: true
                    checked: start.model.runsEditModeActive
                    onClicked: start.model.runsEditModeActive = !start.model.runsEditModeActive
                }
            }
            ListView {
                objectName: "protocolList"
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                spacing: 4
                model: start.model.configFiles
                delegate: RunRowView {
                    required property string modelData
                    width: ListView.view.width
                    name: modelData
                    isEditing: start.model.runsEditModeActive
                    selected: modelData === start.model.selectedFileName
                    onTap: start.model.tapProtocol(modelData)
                    onDuplicate: start.model.duplicateProtocol(modelData)
                    onRemove: start.model.requestDelete(modelData)
                }
            }
        }

        ColumnLayout {
            Layout.fillHeight: true
            Layout.fillWidth: true
            Layout.preferredWidth: columns.width - columns.spacing - columns.leftWidth
            spacing: 12

            Label {
                objectName: "settingsFromFile"
                text: start.model.settingsFromFileText
                font.bold: true
                elide: Text.ElideMiddle
                Layout.fillWidth: true
            }
            Frame {
                Layout.fillWidth: true
                Layout.preferredHeight: 160
                Label {
                    objectName: "descriptionText"
                    anchors.fill: parent
                    text: start.model.descriptionText
                    wrapMode: Text.Wrap
                    elide: Text.ElideRight
                }
            }
            Label {
                objectName: "droneInfo"
                text: start.model.droneInfoText
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            TouchButton {
                objectName: "droneButton"
                visible: start.model.showsDroneButton
                text: start.model.droneButtonText
                onClicked: start.model.chooseDrone()
            }
            RowLayout {
                Layout.fillWidth: true
                Label {
                    objectName: "triggerBoxLine"
                    text: start.triggerBox.statusText
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }
                TouchButton {
                    objectName: "triggerBoxButton"
                    text: "Trigger box…"
                    onClicked: start.triggerBox.present()
                }
            }
            Label {
                objectName: "deviceName"
                text: "This device name: " + start.model.deviceName
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            Item { Layout.fillHeight: true }
            TouchButton {
                objectName: "startButton"
                text: "start"
                font.pixelSize: 26
                Layout.fillWidth: true
                tint: "#7ed492"
                onClicked: start.model.start()
            }
            Label {
                objectName: "versionLine"
                text: " " + start.appInfo.versionLine
                color: "gray"
                font.pixelSize: 13
            }
            Label {
                objectName: "buildDateLine"
                text: "  " + start.appInfo.buildDateLine
                color: "gray"
                font.pixelSize: 13
            }
        }
    }

    AlertBox {
        objectName: "startAlert"
        visible: start.model.alertButtons.length > 0
        title: start.model.alertTitle
        message: start.model.alertMessage
        // A QStringList is a list<string>; qmllint 6.4 holds the two apart.
        buttons: start.model.alertButtons  // qmllint disable type
        cancelButton: start.model.alertCancelButton
        destructiveButtons: start.model.alertDestructiveButtons  // qmllint disable type
        onChosen: function (button) { start.model.chooseAlertButton(button) }
    }

    TriggerBoxView {
        model: start.triggerBox
    }

    PeerBrowserView2 {
        model: start.peerBrowser
        visible: start.model.showPeerBrowser
    }
}
