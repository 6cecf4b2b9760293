import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The blood-pressure step: the bridge's status, its device control and the measurement button.
ColumnLayout {
    id: bp
    required property BloodPersureViewModel model

    objectName: "bloodPressureView"
    spacing: 12

    Label {
        objectName: "bpStatus"
        text: bp.model.central.statusMessage
        color: bp.model.statusColor
        font.pixelSize: 22
        font.bold: true
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Layout.fillWidth: true
    }
    Label {
        objectName: "bpDisplay"
        visible: text.length > 0
        text: bp.model.displayLine
        color: "gray"
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        objectName: "bpLast"
        visible: text.length > 0
        text: bp.model.lastLine
        color: "blue"
        font.pixelSize: 13
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
        horizontalAlignment: Text.AlignHCenter
    }
    RowLayout {
        Layout.alignment: Qt.AlignHCenter
        spacing: 16
        TouchButton {
            objectName: "bpDeviceButton"
            text: bp.model.deviceButtonText
            onClicked: bp.model.deviceButtonPressed()
        }
        TouchButton {
            objectName: "bpMeasurementButton"
            text: bp.model.measurementButtonText
            enabled: bp.model.measurementButtonEnabled
            tint: enabled ? "#798edb" : palette.button
            onClicked: bp.model.startStopMeasurement()
        }
    }
    Component.onCompleted: model.appeared()

    BLEDeviceBrowserView {
        model: bp.model.deviceBrowser
    }
}
