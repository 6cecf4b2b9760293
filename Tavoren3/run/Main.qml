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

    BackgroundView {
        anchors.fill: parent
        model: window.models.background
        ContentView {
            anchors.fill: parent
            models: window.models
        }
    }
}
