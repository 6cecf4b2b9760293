import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The current step: name, timer, description, its optional views and the controls.
Pane {
    id: step
    required property CurrentStepViewModel model
    required property OptionalViewModel optionalViews

    objectName: "currentStepView"
    padding: 24

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        Label {
            objectName: "stepName"
            text: step.model.nameText
            font.pixelSize: 34
            font.bold: true
            Layout.alignment: Qt.AlignHCenter
        }
        Label {
            objectName: "numericId"
            text: step.model.numericIdText
            font.pixelSize: 13
            Layout.alignment: Qt.AlignHCenter
        }
        Row {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            Label {
                objectName: "timer"
                text: step.model.timerText
                color: step.model.timerColor
                font.pixelSize: 56
                font.bold: true
            }
            SymbolIcon {
                objectName: "timerArrow"
                name: step.model.arrowIcon
                visible: name.length > 0
                size: 48
                color: step.model.timerColor
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        Label {
            objectName: "stepDescription"
            text: step.model.descriptionText
            font.pixelSize: 20
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            Layout.fillWidth: true
        }

        OptionalView {
            model: step.optionalViews
            Layout.fillWidth: true
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            TouchButton {
                objectName: "doneButton"
                shortcut: "Ctrl+Return"
                visible: step.model.doneVisible
                text: "DONE"
                font.pixelSize: 26
                tint: "#5cc46e"
                onClicked: step.model.done()
            }
            TouchButton {
                objectName: "pauseButton"
                shortcut: "Ctrl+P"
                visible: step.model.pauseVisible
                text: step.model.pauseText
                onClicked: step.model.pauseOrContinue()
            }
            TouchButton {
                objectName: "backButton"
                shortcut: "Ctrl+Left"
                symbol: "arrowshape.turn.up.backward"
                text: "BACK"
                enabled: step.model.backEnabled
                onClicked: step.model.back()
            }
            TouchButton {
                objectName: "skipButton"
                shortcut: "Ctrl+Right"
                symbol: "arrowshape.turn.up.forward"
                text: "SKIP"
                enabled: step.model.skipEnabled
                onClicked: step.model.skip()
            }
            TouchButton {
                objectName: "restartButton"
                shortcut: "Ctrl+R"
                symbol: "arrow.counterclockwise"
                text: "RESTART"
                enabled: step.model.restartEnabled
                onClicked: step.model.restart()
            }
        }
    }

    AlertBox {
        objectName: "sliderWarning"
        visible: step.model.sliderWarningShown
        title: step.model.sliderWarningTitle
        message: step.model.sliderWarningMessage
        buttons: ["Proceed anyway", "Wait"]
        cancelButton: "Wait"
        destructiveButtons: ["Proceed anyway"]
        onChosen: function (button) {
            if (button === "Proceed anyway")
                step.model.proceedAnyway()
            else
                step.model.wait()
        }
    }
}
