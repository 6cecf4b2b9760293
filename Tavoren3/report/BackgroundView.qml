import QtQuick
import Tavoren
import QtQuick.Controls

// The full-window background; offers a newer build in an alert.
Item {
    id: background
    required property var model
    default property alias content: holder.data

    Rectangle {
        anchors.fill: parent
        color: palette.window
    }
    Item {
        id: holder
        anchors.fill: parent
    }
    Component.onCompleted: model.appeared()

    AlertBox {
        objectName: "updateAlert"
        visible: background.model.showingUpdateAlertView
        title: background.model.alertTitle
        message: background.model.currentVersionText + "\n" + background.model.newVersionText
        buttons: background.model.alertButtons
        cancelButton: background.model.alertCancelButton
        destructiveButtons: background.model.alertDestructiveButtons
        onChosen: function (button) { background.model.chooseAlertButton(button) }
    }
}
