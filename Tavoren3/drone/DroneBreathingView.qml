import QtQuick
import Tavoren

// The breathing pacer: a circle that grows while breathing in and shrinks
// while breathing out, with the phase written beneath it.
Item {
    id: pacer
    required property BreathingPacer model
    required property real unit
    readonly property real fullScale: 1
    readonly property real emptyScale: 0.4

    Item {
        id: room
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: phase.top
        anchors.margins: pacer.unit * 0.5
    }
    Rectangle {
        id: circle
        objectName: "droneBreathingCircle"
        anchors.centerIn: room
        width: Math.min(room.width, room.height)
        height: width
        radius: width / 2
        color: "#2f6fa8"
        scale: pacer.emptyScale
    }
    NumberAnimation {
        id: breath
        target: circle
        property: "scale"
        easing.type: Easing.InOutSine
    }
    function breathe() {
        breath.stop()
        breath.to = pacer.model.expanded ? pacer.fullScale : pacer.emptyScale
        breath.duration = pacer.model.phaseMs
        breath.start()
    }
    Component.onCompleted: breathe()
    Connections {
        target: pacer.model
        function onPhaseChanged() { pacer.breathe() }
    }
    Text {
        id: phase
        objectName: "droneBreathingPhase"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: pacer.unit * 0.6
        text: pacer.model.phaseText
        color: "white"
        font.pixelSize: pacer.unit * 1.1
        font.bold: true
    }
}
