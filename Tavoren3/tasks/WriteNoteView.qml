import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// A free-text note stamped into the label file.
RowLayout {
    id: writer
    required property WriteNoteViewModel model

    objectName: "writeNoteView"
    spacing: 12

    TextField {
        objectName: "noteField"
        placeholderText: "Note"
        text: writer.model.note
        onTextEdited: writer.model.note = text
        onAccepted: writer.model.addNote()
        font.pixelSize: 18
        Layout.fillWidth: true
    }
    TouchButton {
        objectName: "addNoteButton"
        symbol: "square.and.arrow.down"
        text: "Add note"
        onClicked: writer.model.addNote()
    }
}
