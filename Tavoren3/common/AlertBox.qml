pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// A modal alert: a title, a message and a row of buttons named by their texts.
// While it shows, the keyboard stays inside it: the cancel button (else the
// first) has the focus, Tab and Shift+Tab move between the buttons, and
// Enter or Space presses the focused one.
Popup {
    id: alert
    property string title
    property string message
    property list<string> buttons: ["OK"]
    // The button Escape presses; none when empty.
    property string cancelButton
    // The buttons drawn as destructive.
    property list<string> destructiveButtons: []
    // The message's object name, for a window with more than one alert.
    property string messageObjectName: "alertMessage"
    signal chosen(string button)

    objectName: "alert"
    modal: true
    focus: true
    closePolicy: Popup.NoAutoClose
    anchors.centerIn: Overlay.overlay
    width: Math.min(560, parent ? parent.width - 48 : 560)
    padding: 24

    // Once the buttons of the alert now shown have been made.
    onOpened: focusLater.restart()
    onButtonsChanged: if (opened) focusLater.restart()
    Timer {
        id: focusLater
        interval: 0
        onTriggered: alert.focusButton(Math.max(0, alert.buttons.indexOf(alert.cancelButton)))
    }
    // Focuses the button at index, counted round the row.
    function focusButton(index: int) {
        const count = buttonRepeater.count
        if (count > 0)
            (buttonRepeater.itemAt(((index % count) + count) % count) as Item).forceActiveFocus(Qt.TabFocusReason)
    }

    Shortcut {
        sequence: "Escape"
        enabled: alert.visible && alert.cancelButton.length > 0
        onActivated: alert.chosen(alert.cancelButton)
    }

    ColumnLayout {
        width: parent.width
        spacing: 16
        // Focus anywhere else in the alert: Tab comes back to its buttons.
        Keys.onTabPressed: alert.focusButton(0)
        Keys.onBacktabPressed: alert.focusButton(-1)
        Label {
            objectName: "alertTitle"
            text: alert.title
            font.pixelSize: 22
            font.bold: true
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
        }
        Label {
            objectName: alert.messageObjectName
            text: alert.message
            visible: text.length > 0
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
        }
        // Up to three buttons side by side; more are stacked, one a line.
        GridLayout {
            id: buttonGrid
            readonly property bool stacked: alert.buttons.length > 3
            columns: stacked ? 1 : Math.max(1, alert.buttons.length)
            Layout.alignment: Qt.AlignHCenter
            Layout.fillWidth: stacked
            columnSpacing: 12
            rowSpacing: 8
            Repeater {
                id: buttonRepeater
                model: alert.buttons
                delegate: TouchButton {
                    required property string modelData
                    required property int index
                    objectName: "alertButton " + modelData
                    text: modelData
                    destructive: alert.destructiveButtons.indexOf(modelData) >= 0
                    Layout.fillWidth: buttonGrid.stacked
                    onClicked: alert.chosen(modelData)
                    Keys.onTabPressed: alert.focusButton(index + 1)
                    Keys.onBacktabPressed: alert.focusButton(index - 1)
                    Keys.onReturnPressed: (event) => pressedWith(event)
                    Keys.onEnterPressed: (event) => pressedWith(event)
                    // Enter alone presses the button; with a modifier it is no answer.
                    function pressedWith(event: KeyEvent) {
                        if (event.modifiers === Qt.NoModifier || event.modifiers === Qt.KeypadModifier)
                            clicked()
                    }
                }
            }
        }
    }
}
