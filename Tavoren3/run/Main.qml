import QtQuick
import Tavoren
import QtQuick.Controls

// The timekeeper's window.
ApplicationWindow {
    id: window
    required property ScreenModels models

    objectName: "mainWindow"
    title: "tavoren"
    width: 1024
    height: 768
    minimumWidth: 1024
    minimumHeight: 768
    visible: true
    font.pixelSize: 17

    // During a run the window asks before it closes.
    onClosing: function (close) { close.accepted = window.models.quitQuestion.mayClose() }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: window.close()
    }
    Connections {
        target: window.models.quitQuestion
        function onQuitConfirmed() { window.close() }
    }

    BackgroundView {
        anchors.fill: parent
        model: window.models.background
        ContentView {
            anchors.fill: parent
            models: window.models
        }
    }

    AlertBox {
        objectName: "quitAlert"
        messageObjectName: "quitMessage"
        visible: window.models.quitQuestion.shown
        title: window.models.quitQuestion.title
        message: window.models.quitQuestion.message
        buttons: window.models.quitQuestion.buttons  // qmllint disable type
        cancelButton: "Cancel"
        destructiveButtons: ["Quit"]
        onChosen: function (button) { window.models.quitQuestion.choose(button) }
    }
}
