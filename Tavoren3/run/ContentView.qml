import QtQuick
import Tavoren

// The root view: the editor while editing, the start screen while no run is
// shown, otherwise the run screen.
Item {
    id: content
    required property ScreenModels models

    Component.onCompleted: models.content.appeared()

    Loader {
        anchors.fill: parent
        sourceComponent: content.models.content.isTestEditing ? editorScreen
                        : content.models.content.isPPidUnknown ? startScreen : runScreen
    }
    // Qt 6.4's Loader cannot create bound components (pragma ComponentBehavior),
    // so qmllint takes the lookups of this file's ids inside them for unqualified.
    Component {
        id: editorScreen
        RunEditorView { model: content.models.editor }  // qmllint disable unqualified
    }
    Component {
        id: startScreen
        StartView {
            model: content.models.start  // qmllint disable unqualified
            appInfo: content.models.appInfo  // qmllint disable unqualified
            peerBrowser: content.models.peerBrowser  // qmllint disable unqualified
            triggerBox: content.models.triggerBox  // qmllint disable unqualified
        }
    }
    Component {
        id: runScreen
        WorkingView {
            controller: content.models.controller  // qmllint disable unqualified
            completion: content.models.completion  // qmllint disable unqualified
            header: content.models.header  // qmllint disable unqualified
            currentStep: content.models.currentStep  // qmllint disable unqualified
            optionalViews: content.models.optionalViews  // qmllint disable unqualified
            nextStep: content.models.nextStep  // qmllint disable unqualified
            writeNote: content.models.writeNote  // qmllint disable unqualified
            footer: content.models.footer  // qmllint disable unqualified
            appInfo: content.models.appInfo  // qmllint disable unqualified
            markers: content.models.markers  // qmllint disable unqualified
        }
    }
}
