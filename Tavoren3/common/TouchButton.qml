import QtQuick
import Tavoren
import QtQuick.Controls

// A button large enough for a finger, with an optional symbol before its text.
Button {
    id: button
    property string symbol
    property color tint: palette.button
    // Drawn in red: the button destroys or gives something up.
    property bool destructive
    // A key sequence that presses the button while it is shown and enabled.
    property string shortcut

    implicitHeight: Math.max(52, implicitContentHeight + topPadding + bottomPadding)
    implicitWidth: Math.max(88, implicitContentWidth + leftPadding + rightPadding)
    font.pixelSize: 18
    leftPadding: 18
    rightPadding: 18
    // Centred, also when the button is stretched wider than its text.
    // Sized by the row inside it, so it is built with the button, not deferred.
    contentItem: Item {  // qmllint disable deferred-property-id
        implicitWidth: content.implicitWidth
        implicitHeight: content.implicitHeight
        Row {
            id: content
            anchors.centerIn: parent
            spacing: 8
            SymbolIcon {
                name: button.symbol
                visible: button.symbol.length > 0
                anchors.verticalCenter: parent.verticalCenter
                color: labelText.color
                size: button.font.pixelSize
            }
            Text {
                id: labelText
                text: button.text
                font: button.font
                color: !button.enabled ? palette.mid : button.destructive ? "#c62828" : palette.buttonText
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
    background: Rectangle {
        radius: 10
        color: button.down ? Qt.darker(button.tint, 1.2) : button.tint
        opacity: button.enabled ? 1 : 0.45
        border.color: button.activeFocus ? palette.highlight : "transparent"
        border.width: 2
    }

    Shortcut {
        sequence: button.shortcut
        enabled: button.shortcut.length > 0 && button.visible && button.enabled
        onActivated: button.clicked()
    }
}
