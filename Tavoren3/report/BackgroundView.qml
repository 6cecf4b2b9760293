import QtQuick
import Tavoren

// The full-window background; offers a newer build in an alert.
Item {
    id: background
    required property BackgroundViewModel model
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
        // A QStringList is a list<string>; qmllint 6.4 holds the two apart.
        buttons: background.model.alertButtons  // qmllint disable type
        cancelButton: background.model.alertCancelButton
        destructiveButtons: background.model.alertDestructiveButtons  // qmllint disable type
        onChosen: function (button) { background.model.chooseAlertButton(button) }
    }
}
