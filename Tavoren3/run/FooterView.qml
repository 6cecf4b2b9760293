import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// Version lines, Stop and the log toggle.
Pane {
    id: footer
    required property FooterViewModel model
    required property AppInfo appInfo

    objectName: "footerView"

    RowLayout {
        anchors.fill: parent
        ColumnLayout {
            Label {
                objectName: "footerVersion"
                text: footer.appInfo.versionLine
                color: "gray"
                font.pixelSize: 13
            }
            Label {
                objectName: "footerBuildDate"
                text: footer.appInfo.buildDateLine
                color: "gray"
                font.pixelSize: 13
            }
        }
        Item { Layout.fillWidth: true }
        TouchButton {
            objectName: "stopButton"
            visible: footer.model.stopVisible
            enabled: footer.model.stopEnabled
            symbol: "power"
            text: "Stop"
            onClicked: footer.model.stop()
        }
        TouchButton {
            objectName: "logButton"
            symbol: "square.and.pencil"
            text: footer.model.logButtonText
            onClicked: footer.model.toggleLog()
        }
    }
}
