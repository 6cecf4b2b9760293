pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// "Run Editor": the protocol's fields, its steps and the selected step's detail.
Page {
    id: editor
    required property RunEditorViewModel model
    readonly property Run run: model.run

    objectName: "runEditorView"
    title: "Run Editor"

    header: ToolBar {
        RowLayout {
            anchors.fill: parent
            anchors.leftMargin: 16
            anchors.rightMargin: 16
            Label {
                text: editor.title
                font.pixelSize: 22
                font.bold: true
                Layout.fillWidth: true
            }
            TouchButton {
                objectName: "editorCancel"
                symbol: "pencil.slash"
                text: "Cancel"
                flat: true
                onClicked: editor.model.cancel()
            }
            TouchButton {
                objectName: "editorSave"
                symbol: "square.and.arrow.down"
                text: "Save"
                flat: true
                onClicked: editor.model.save()
            }
            TouchButton {
                objectName: "editorDelete"
                symbol: "trash"
                text: "Delete research"
                flat: true
                onClicked: editor.model.requestDelete()
            }
        }
    }

    RowLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 24

        ColumnLayout {
            Layout.preferredWidth: editor.width * 0.42
            Layout.fillWidth: false
            Layout.fillHeight: true
            spacing: 8

            GridLayout {
                columns: 2
                Layout.fillWidth: true
                Label { text: "Research name" }
                TextField {
                    objectName: "researchNameField"
                    text: editor.run.researchName
                    onTextEdited: editor.run.researchName = text
                    Layout.fillWidth: true
                }
                Label { text: "Version" }
                TextField {
                    objectName: "versionField"
                    text: editor.run.version
                    onTextEdited: editor.run.version = text
                    Layout.fillWidth: true
                }
                Label { text: "Research description" }
                TextField {
                    objectName: "descriptionField"
                    text: editor.model.researchDescription
                    placeholderText: "Quickly explain what your research does and what tests you conclude here."
                    onTextEdited: editor.model.researchDescription = text
                    Layout.fillWidth: true
                }
                Label { text: "Uses drone: " }
                Switch {
                    objectName: "usesDroneSwitch"
                    checked: editor.run.usesDrone
                    onToggled: editor.run.usesDrone = checked
                }
            }
            Label {
                objectName: "saveError"
                visible: text.length > 0
                text: editor.model.saveError
                color: "red"
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
            Label {
                objectName: "duplicateIDsWarning"
                visible: editor.model.duplicatesDetected
                text: editor.model.duplicateIDsText
                color: "#b35c00"
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
            Label {
                objectName: "markerCodesWarning"
                visible: text.length > 0
                text: editor.model.markerCodesText
                color: "#b35c00"
                wrapMode: Text.WordWrap
                Layout.fillWidth: true
            }
            RowLayout {
                Layout.fillWidth: true
                Label {
                    text: "Research steps:"
                    font.bold: true
                    Layout.fillWidth: true
                }
                TouchButton {
                    objectName: "newStepButton"
                    symbol: "plus.circle.fill"
                    text: "New step"
                    onClicked: editor.model.newStep()
                }
                TouchButton {
                    objectName: "stepsEditButton"
                    text: editor.model.editButtonText
                    onClicked: editor.model.isEditing = !editor.model.isEditing
                }
            }
            ListView {
                objectName: "stepList"
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: editor.model.rows
                delegate: TestListRowView {
                    required property TestListRowViewModel modelData
                    entry: modelData
                    width: ListView.view.width
                    onRemove: editor.model.deleteSteps([modelData.index])
                }
            }
        }

        ScrollView {
            id: detailScroller
            // Takes what the list leaves; its content's width must not feed back.
            Layout.preferredWidth: 1
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            StepView {
                width: detailScroller.availableWidth
                visible: editor.model.step.hasStep
                model: editor.model.step
            }
        }
    }

    AlertBox {
        objectName: "unsavedChangesAlert"
        visible: editor.model.showUnsavedChangesAlert
        title: editor.model.unsavedChangesTitle
        message: editor.model.unsavedChangesMessage
        buttons: ["Save", "Proceed without saving", "Cancel"]
        cancelButton: "Cancel"
        destructiveButtons: ["Proceed without saving"]
        onChosen: function (button) {
            if (button === "Save")
                editor.model.answerSave()
            else if (button === "Proceed without saving")
                editor.model.answerProceedWithoutSaving()
            else
                editor.model.answerCancel()
        }
    }

    AlertBox {
        objectName: "deleteResearchAlert"
        visible: editor.model.showDeleteAlert
        title: editor.model.deleteAlertTitle
        message: editor.model.deleteAlertMessage
        buttons: ["Delete anyway", "Cancel"]
        cancelButton: "Cancel"
        destructiveButtons: ["Delete anyway"]
        onChosen: function (button) {
            if (button === "Delete anyway")
                editor.model.confirmDelete()
            else
                editor.model.cancelDelete()
        }
    }
}
