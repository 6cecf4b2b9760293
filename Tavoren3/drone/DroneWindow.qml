import QtQuick
import Tavoren
import QtQuick.Controls

// The participant's screen: black, with the view the timekeeper asked for.
ApplicationWindow {
    id: window
    required property DroneScreen model
    property bool fullScreen: true
    // Type follows the screen's size, so that it reads at arm's length.
    readonly property real unit: Math.min(width, height) / 14

    objectName: "droneWindow"
    title: "tavoren-drone"
    width: 1280
    height: 800
    visible: true
    visibility: fullScreen ? Window.FullScreen : Window.Windowed
    color: "black"
    font.pixelSize: unit

    Loader {
        objectName: "droneView"
        anchors.fill: parent
        sourceComponent: {
            switch (window.model.kind) {
            case "black":
                return null
            case "images":
                return imagesView
            case "breathing":
                return breathingView
            case "video":
                return videoView
            case "slider":
                return sliderView
            default:
                return messageView
            }
        }
    }
    // Qt 6.4's Loader cannot create bound components (pragma ComponentBehavior),
    // so qmllint takes the lookups of this file's ids inside them for unqualified.
    Component {
        id: messageView
        DroneMessageView { model: window.model; unit: window.unit }  // qmllint disable unqualified
    }
    Component {
        id: imagesView
        DroneImagesView { model: window.model; unit: window.unit }  // qmllint disable unqualified
    }
    Component {
        id: breathingView
        DroneBreathingView { model: window.model.pacer; unit: window.unit }  // qmllint disable unqualified
    }
    Component {
        id: videoView
        DroneVideoView { model: window.model.video; unit: window.unit }  // qmllint disable unqualified
    }
    Component {
        id: sliderView
        DroneSliderView { model: window.model.slider; unit: window.unit }  // qmllint disable unqualified
    }

    Text {
        objectName: "droneProblem"
        visible: text.length > 0
        text: window.model.problem
        textFormat: Text.PlainText
        color: "#808080"
        font.pixelSize: Math.max(14, window.unit * 0.3)
        elide: Text.ElideRight
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: window.unit * 0.3
    }

    Rectangle {
        objectName: "dronePausedCover"
        anchors.fill: parent
        visible: window.model.paused
        color: "#e6000000"
        Text {
            objectName: "dronePausedText"
            anchors.centerIn: parent
            text: window.model.pausedText
            color: "white"
            font.pixelSize: window.unit * 1.6
            font.bold: true
        }
    }

    // A timekeeper asks to pair: the code, large enough to read from the operator's seat.
    Rectangle {
        objectName: "dronePairing"
        anchors.fill: parent
        visible: window.model.pairingCode.length > 0
        color: "#1a1a2e"
        Column {
            anchors.centerIn: parent
            width: parent.width * 0.9
            spacing: window.unit * 0.5
            Text {
                objectName: "dronePairingTitle"
                width: parent.width
                text: window.model.pairingTitle
                textFormat: Text.PlainText
                color: "white"
                font.pixelSize: window.unit * 0.6
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideRight
            }
            Text {
                objectName: "dronePairingCode"
                width: parent.width
                text: window.model.pairingCode
                color: "white"
                font.pixelSize: window.unit * 2.6
                font.bold: true
                font.letterSpacing: window.unit * 0.3
                // Narrower on a screen held upright.
                fontSizeMode: Text.HorizontalFit
                horizontalAlignment: Text.AlignHCenter
            }
            Text {
                objectName: "dronePairingHint"
                width: parent.width
                text: window.model.pairingHint
                color: "#c0c0c0"
                font.pixelSize: window.unit * 0.4
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: window.unit * 0.6
                Button {
                    objectName: "dronePairingCancel"
                    padding: window.unit * 0.3
                    text: "Cancel"
                    font.pixelSize: window.unit * 0.5
                    onClicked: window.model.cancelPairing()
                }
                Button {
                    objectName: "dronePairButton"
                    padding: window.unit * 0.3
                    text: "Pair"
                    enabled: window.model.pairEnabled
                    font.pixelSize: window.unit * 0.5
                    onClicked: window.model.confirmPairing()
                }
            }
        }
    }

    Text {
        objectName: "droneStatus"
        visible: text.length > 0
        text: window.model.statusText
        color: "#808080"
        font.pixelSize: Math.max(14, window.unit * 0.35)
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.margins: window.unit * 0.3
    }
}
