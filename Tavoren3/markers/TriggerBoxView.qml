pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The trigger box sheet: port, speed, pulse, end code and a test marker.
Popup {
    id: sheet
    required property TriggerBoxViewModel model

    objectName: "triggerBoxSheet"
    visible: model.presented
    modal: true
    closePolicy: Popup.NoAutoClose
    anchors.centerIn: Overlay.overlay
    width: Math.min(680, parent ? parent.width - 64 : 680)
    height: Math.min(620, parent ? parent.height - 64 : 620)
    padding: 24

    ColumnLayout {
        anchors.fill: parent
        spacing: 10
        Label {
            text: "Trigger box"
            font.pixelSize: 22
            font.bold: true
        }
        RowLayout {
            Label {
                text: "Serial ports"
                font.bold: true
                Layout.fillWidth: true
            }
            TouchButton {
                objectName: "refreshPorts"
                symbol: "arrow.counterclockwise"
                text: "Refresh"
                onClicked: sheet.model.refreshPorts()
            }
        }
        ListView {
            objectName: "serialPorts"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: sheet.model.ports
            delegate: ItemDelegate {
                required property var modelData
                objectName: "port " + modelData.name
                width: ListView.view.width
                text: modelData.text
                highlighted: modelData.name === sheet.model.port
                onClicked: sheet.model.port = modelData.name
            }
            Label {
                anchors.centerIn: parent
                visible: parent.count === 0
                text: "No serial ports found"
                color: "gray"
            }
        }
        GridLayout {
            columns: 2
            columnSpacing: 16
            Layout.fillWidth: true
            Label { text: "Port" }
            TextField {
                objectName: "triggerPort"
                placeholderText: "none"
                text: sheet.model.port
                onTextEdited: sheet.model.port = text
                Layout.fillWidth: true
            }
            Label { text: "Speed" }
            ComboBox {
                objectName: "triggerSpeed"
                model: sheet.model.speeds
                currentIndex: sheet.model.speedIndex
                onActivated: function (index) { sheet.model.speed = sheet.model.speeds[index] }
            }
            Label { text: "Pulse width (ms)" }
            SpinBox {
                objectName: "pulseWidth"
                from: 1
                to: 1000
                editable: true
                enabled: !sheet.model.hold
                value: sheet.model.pulseWidth
                onValueModified: sheet.model.pulseWidth = value
            }
            Label { text: "Hold" }
            CheckBox {
                objectName: "holdLines"
                text: "Lines stay set until the next code"
                checked: sheet.model.hold
                onToggled: sheet.model.hold = checked
            }
            Label { text: "End code" }
            SpinBox {
                objectName: "endCode"
                from: 0
                to: 255
                editable: true
                value: sheet.model.endCode
                textFromValue: function (value) { return value === 0 ? "none" : value.toString() }
                valueFromText: function (text) { return text === "none" ? 0 : parseInt(text) }
                onValueModified: sheet.model.endCode = value
            }
        }
        Label {
            objectName: "triggerStatus"
            text: sheet.model.statusText
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
        RowLayout {
            TouchButton {
                objectName: "sendTestMarker"
                text: "Send test marker"
                onClicked: sheet.model.sendTestMarker()
            }
            Item { Layout.fillWidth: true }
            TouchButton {
                objectName: "triggerBoxCancel"
                text: "Cancel"
                onClicked: sheet.model.cancel()
            }
            TouchButton {
                objectName: "triggerBoxDone"
                text: "Done"
                onClicked: sheet.model.done()
            }
        }
    }
}
