import QtQuick
import Tavoren
import QtQuick.Controls

// The run's label log, following its newest line.
Pane {
    id: notes
    required property VerkeersLeiding controller

    objectName: "notesView"
    implicitHeight: 120 + 2 * padding
    padding: 10
    background: Rectangle {
        radius: 10
        color: Qt.rgba(0.5, 0.5, 0.5, 0.12)
    }

    Flickable {
        id: flick
        anchors.fill: parent
        clip: true
        contentWidth: width
        contentHeight: log.implicitHeight + 1
        Behavior on contentY {
            NumberAnimation { duration: 200; easing.type: Easing.InOutQuad }
        }
        function scrollToBottom() { contentY = Math.max(0, contentHeight - height) }

        TextEdit {
            id: log
            objectName: "labelLog"
            width: flick.width
            // Only while shown: hidden, it would hold a laid-out copy of the
            // whole log and lay it all out again on every new line.
            text: notes.visible ? notes.controller.LabelLogString : ""
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.Wrap
            font.family: "monospace"
            font.pixelSize: 13
            color: palette.windowText
            onTextChanged: flick.scrollToBottom()
        }
        onHeightChanged: scrollToBottom()
    }
    Component.onCompleted: flick.scrollToBottom()
}
