import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// One protocol of the start screen's list.
ItemDelegate {
    id: row
    property string name
    property bool isEditing
    property bool selected
    signal tap()
    signal duplicate()
    signal remove()

    objectName: "runRow " + name
    implicitHeight: 56
    highlighted: selected
    onClicked: tap()

    contentItem: RowLayout {
        Label {
            text: row.name
            elide: Text.ElideRight
            Layout.fillWidth: true
            font.bold: row.selected
        }
        TouchButton {
            objectName: "duplicate " + row.name
            visible: row.isEditing
            symbol: "doc.on.doc"
            text: "Duplicate"
            onClicked: row.duplicate()
        }
        TouchButton {
            objectName: "delete " + row.name
            visible: row.isEditing
            symbol: "trash"
            text: "Delete"
            tint: "#f2a0a0"
            onClicked: row.remove()
        }
    }
}
