import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// One step of the editor's list: "1. Welcome"; tap selects it.
ItemDelegate {
    id: row
    required property TestListRowViewModel entry
    // The list's own delete action, offered while editing.
    signal remove()

    objectName: "stepRow " + entry.index
    implicitHeight: 52
    highlighted: entry.isSelected
    onClicked: entry.select()

    contentItem: RowLayout {
        Label {
            text: row.entry.text
            color: row.highlighted ? row.palette.highlightedText : row.palette.highlight
            font.bold: row.entry.isSelected
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
        TouchButton {
            objectName: "duplicateStep " + row.entry.index
            visible: row.entry.isEditing
            symbol: "doc.on.doc"
            text: "Duplicate"
            flat: true
            onClicked: row.entry.duplicate()
        }
        TouchButton {
            objectName: "deleteStep " + row.entry.index
            visible: row.entry.isEditing
            symbol: "trash"
            text: "Delete"
            flat: true
            onClicked: row.remove()
        }
    }
}
