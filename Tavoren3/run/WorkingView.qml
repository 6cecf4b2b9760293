import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The run screen, or the completion screen once the run has ended.
Item {
    id: working
    required property VerkeersLeiding controller
    required property CompletionOverlayModel completion
    required property HeaderViewModel header
    required property CurrentStepViewModel currentStep
    required property OptionalViewModel optionalViews
    required property NextStepViewModel nextStep
    required property WriteNoteViewModel writeNote
    required property FooterViewModel footer
    required property AppInfo appInfo
    required property MarkerOutput markers

    objectName: "workingView"

    Loader {
        anchors.fill: parent
        sourceComponent: working.controller.isCompleted ? completionScreen : runScreen
    }
    // Qt 6.4's Loader cannot create bound components (pragma ComponentBehavior),
    // so qmllint takes the lookups of this file's ids inside them for unqualified.
    Component {
        id: completionScreen
        CompletionOverlay { model: working.completion }  // qmllint disable unqualified
    }
    Component {
        id: runScreen
        ColumnLayout {
            spacing: 0
            HeaderView {
                model: working.header  // qmllint disable unqualified
                Layout.fillWidth: true
            }
            Label {
                objectName: "triggerBoxLost"
                visible: working.markers.lost  // qmllint disable unqualified
                text: working.markers.lostText  // qmllint disable unqualified
                color: "white"
                background: Rectangle { color: "#c0392b" }
                padding: 6
                horizontalAlignment: Text.AlignHCenter
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
                        model: working.currentStep  // qmllint disable unqualified
                        optionalViews: working.optionalViews  // qmllint disable unqualified
                        Layout.fillWidth: true
                    }
                    NextStepView {
                        model: working.nextStep  // qmllint disable unqualified
                        Layout.fillWidth: true
                    }
                    WriteNoteView {
                        model: working.writeNote  // qmllint disable unqualified
                        Layout.fillWidth: true
                    }
                    NotesView {
                        visible: working.controller.showLog  // qmllint disable unqualified
                        controller: working.controller  // qmllint disable unqualified
                        Layout.fillWidth: true
                    }
                }
            }
            // Below the scrolling part, so the version lines and Stop stay in sight.
            FooterView {
                model: working.footer  // qmllint disable unqualified
                appInfo: working.appInfo  // qmllint disable unqualified
                Layout.fillWidth: true
            }
        }
    }

    // Over the run and the completion screen alike, until the operator has seen it.
    AlertBox {
        objectName: "labelWriteAlert"
        visible: working.controller.labelWriteFailure.length > 0
        title: working.controller.labelWriteFailureTitle
        message: working.controller.labelWriteFailure
        cancelButton: "OK"
        onChosen: working.controller.acknowledgeLabelWriteFailure()
    }
}
