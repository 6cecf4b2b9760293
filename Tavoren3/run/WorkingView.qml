import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The run screen, or the completion screen once the run has ended.
Item {
    id: working
    required property var models
    readonly property var controller: models.controller

    objectName: "workingView"

    Loader {
        anchors.fill: parent
        sourceComponent: working.controller.isCompleted ? completion : run
    }
    Component {
        id: completion
        CompletionOverlay { model: working.models.completion }
    }
    Component {
        id: run
        ColumnLayout {
            spacing: 0
            HeaderView {
                model: working.models.header
                Layout.fillWidth: true
            }
            ScrollView {
                id: scroller
                Layout.fillWidth: true
                Layout.fillHeight: true
                contentWidth: availableWidth
                ColumnLayout {
                    x: 16
                    width: scroller.availableWidth - 32
                    spacing: 16
                    CurrentStepView {
                        models: working.models
                        Layout.fillWidth: true
                    }
                    NextStepView {
                        model: working.models.nextStep
                        Layout.fillWidth: true
                    }
                    WriteNoteView {
                        model: working.models.writeNote
                        Layout.fillWidth: true
                    }
                    NotesView {
                        visible: working.controller.showLog
                        controller: working.controller
                        Layout.fillWidth: true
                    }
                }
            }
            // Below the scrolling part, so the version lines and Stop stay in sight.
            FooterView {
                model: working.models.footer
                appInfo: working.models.appInfo
                Layout.fillWidth: true
            }
        }
    }
}
