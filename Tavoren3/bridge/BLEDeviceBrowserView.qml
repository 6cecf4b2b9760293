pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The sheet for picking the blood-pressure bridge among the peripherals found.
Popup {
    id: sheet
    required property BLEDeviceBrowserViewModel model

    objectName: "deviceBrowser"
    parent: Overlay.overlay
    anchors.centerIn: Overlay.overlay
    modal: true
    width: Math.min(640, parent ? parent.width - 64 : 640)
    height: Math.min(560, parent ? parent.height - 64 : 560)
    padding: 24
    visible: model.isPresented
    onClosed: model.isPresented = false

    ColumnLayout {
        anchors.fill: parent
        spacing: 12
        Label {
            text: "Select Blood Pressure Monitor"
            font.pixelSize: 22
            font.bold: true
        }
        ColumnLayout {
            visible: sheet.model.searching
            Layout.fillWidth: true
            Layout.fillHeight: true
            BusyIndicator { running: sheet.visible && sheet.model.searching; Layout.alignment: Qt.AlignHCenter }
            Label { text: "Searching for devices..."; Layout.alignment: Qt.AlignHCenter }
            Label {
                text: "Make sure your blood pressure monitor is turned on"
                font.pixelSize: 13
                color: "gray"
                Layout.alignment: Qt.AlignHCenter
            }
        }
        ListView {
            objectName: "deviceList"
            visible: !sheet.model.searching
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: sheet.model.rows
            delegate: ItemDelegate {
                id: device
                objectName: "device " + modelData.name
                // A row is a QVariantMap (name, rssiText, icon, iconColor, selected): no C++ type.
                required property var modelData
                required property int index
                width: ListView.view.width
                implicitHeight: 52
                background: Rectangle { color: device.modelData.selected ? Qt.rgba(0, 0, 1, 0.1) : "transparent" }
                onClicked: sheet.model.select(index)
                contentItem: RowLayout {
                    Label { text: device.modelData.name; Layout.fillWidth: true }
                    SymbolIcon {
                        visible: device.modelData.rssiText.length > 0
                        name: device.modelData.icon
                        color: device.modelData.iconColor
                    }
                    Label { text: device.modelData.rssiText; color: "gray" }
                }
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            TouchButton {
                objectName: "deviceBrowserCancel"
                text: "Cancel"
                onClicked: sheet.model.cancel()
            }
            TouchButton {
                objectName: "deviceBrowserConnect"
                text: "Connect"
                enabled: sheet.model.connectEnabled
                onClicked: sheet.model.connectSelected()
            }
        }
    }
}
