import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// Label id, protocol name and drone status in one row.
Pane {
    id: header
    required property HeaderViewModel model

    objectName: "headerView"
    opacity: model.opacity
    padding: 16

    RowLayout {
        anchors.fill: parent
        spacing: 24
        Label {
            objectName: "labelId"
            text: header.model.labelIdText
        }
        Label {
            objectName: "researchName"
            text: header.model.researchName
            font.pixelSize: 22
            font.bold: true
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }
        Label {
            objectName: "droneStatus"
            text: header.model.droneStatusText
            textFormat: Text.PlainText
            color: header.model.droneStatusColor.length > 0 ? header.model.droneStatusColor : palette.windowText
        }
    }
}
