import QtQuick
import Tavoren
import QtMultimedia

// The video, with a play and pause button when the participant may use one.
Item {
    id: video
    required property DroneVideo model
    required property real unit

    function follow() {
        if (video.model.playing)
            player.play()
        else
            player.pause()
    }

    MediaPlayer {
        id: player
        objectName: "droneVideoPlayer"
        source: video.model.source
        videoOutput: output
        audioOutput: AudioOutput {}
        onMediaStatusChanged: {
            if (mediaStatus === MediaPlayer.EndOfMedia)
                video.model.playbackEnded()
        }
        onErrorOccurred: function (error, errorString) {
            video.model.playbackFailed(errorString)
        }
    }
    Component.onCompleted: follow()
    Connections {
        target: video.model
        function onChanged() { video.follow() }
    }

    VideoOutput {
        id: output
        objectName: "droneVideoOutput"
        anchors.fill: parent
        fillMode: VideoOutput.PreserveAspectFit
    }

    TouchButton {
        objectName: "droneVideoButton"
        visible: video.model.controlsShown
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: video.unit
        font.pixelSize: video.unit * 0.6
        text: video.model.playing ? "\u2759\u2759" : "\u25B6"
        onClicked: video.model.playing ? video.model.pause() : video.model.play()
    }
}
