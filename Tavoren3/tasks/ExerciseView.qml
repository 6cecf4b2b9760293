import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The exercise sequence: the running exercise and its countdown, then the total.
ColumnLayout {
    id: exercise
    required property ExerciseViewModel model

    objectName: "exerciseView"
    spacing: 8

    Label {
        visible: !exercise.model.loaded
        text: "Loading exercises..."
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        objectName: "exerciseName"
        visible: exercise.model.loaded && !exercise.model.finished
        text: exercise.model.exerciseName
        font.pixelSize: 34
        font.bold: true
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        visible: exercise.model.loaded && !exercise.model.finished
        text: "Time Remaining"
        color: "gray"
        font.pixelSize: 18
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        objectName: "exerciseRemaining"
        visible: exercise.model.loaded && !exercise.model.finished
        text: exercise.model.remainingText
        color: exercise.model.remainingIsShort ? "red" : palette.windowText
        font.pixelSize: 60
        font.bold: true
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        visible: exercise.model.finished
        text: "\u2714"
        color: "green"
        font.pixelSize: 80
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        visible: exercise.model.finished
        text: "All exercises completed!"
        font.pixelSize: 34
        Layout.alignment: Qt.AlignHCenter
    }
    Label {
        objectName: "exerciseTotal"
        visible: exercise.model.finished
        text: "Total time: " + exercise.model.totalText
        color: "gray"
        font.pixelSize: 18
        Layout.alignment: Qt.AlignHCenter
    }
}
