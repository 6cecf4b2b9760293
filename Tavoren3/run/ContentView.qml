import QtQuick
import Tavoren

// The root view: the editor while editing, the start screen while no run is
// shown, otherwise the run screen.
Item {
    id: content
    required property var models

    Component.onCompleted: models.content.appeared()

    Loader {
        anchors.fill: parent
        sourceComponent: content.models.content.isTestEditing ? editorScreen
                        : content.models.content.isPPidUnknown ? startScreen : runScreen
    }
    Component {
        id: editorScreen
        RunEditorView { model: content.models.editor }
    }
    Component {
        id: startScreen
        StartView { models: content.models }
    }
    Component {
        id: runScreen
        WorkingView { models: content.models }
    }
}
