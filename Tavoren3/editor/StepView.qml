pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The selected step's detail form.
ColumnLayout {
    id: detail
    required property StepViewModel model

    objectName: "stepView"
    spacing: 8

    component Caption: Label {
        font.bold: true
        Layout.topMargin: 8
    }

    RowLayout {
        Layout.fillWidth: true
        Label {
            objectName: "stepTitle"
            text: detail.model.name
            font.pixelSize: 28
            font.bold: true
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
        TouchButton {
            objectName: "stepDuplicate"
            symbol: "doc.on.doc"
            text: "Duplicate"
            onClicked: detail.model.duplicate()
        }
        TouchButton {
            objectName: "stepDelete"
            symbol: "trash"
            text: "Delete"
            tint: "#f2a0a0"
            onClicked: detail.model.deleteStep()
        }
    }

    Caption { text: "Title:" }
    TextField {
        objectName: "stepNameField"
        text: detail.model.name
        placeholderText: "Step title"
        onTextEdited: detail.model.name = text
        Layout.fillWidth: true
    }

    Caption { text: "Label id (short):" }
    TextField {
        objectName: "stepLabelField"
        text: detail.model.labelID
        onTextEdited: {
            detail.model.labelID = text
            text = Qt.binding(function () { return detail.model.labelID })
        }
        Layout.fillWidth: true
    }

    Caption { text: "Duration (0 for indefinite):" }
    RowLayout {
        spacing: 8
        Tumbler {
            objectName: "minutesWheel"
            model: detail.model.maxMinutes + 1
            visibleItemCount: 3
            implicitHeight: 120
            currentIndex: detail.model.minutes
            onCurrentIndexChanged: if (currentIndex !== detail.model.minutes) detail.model.minutes = currentIndex
        }
        Label { text: "min" }
        Tumbler {
            objectName: "secondsWheel"
            model: detail.model.maxSeconds + 1
            visibleItemCount: 3
            implicitHeight: 120
            currentIndex: detail.model.seconds
            onCurrentIndexChanged: if (currentIndex !== detail.model.seconds) detail.model.seconds = currentIndex
        }
        Label { text: "sec" }
    }

    Caption { text: "Instructions:" }
    TextArea {
        objectName: "instructionsField"
        text: detail.model.instructionsText
        onTextChanged: if (text !== detail.model.instructionsText) detail.model.instructionsText = text
        wrapMode: TextEdit.Wrap
        Layout.fillWidth: true
        Layout.preferredHeight: 110
        background: Rectangle { border.color: "#b0b0b0"; radius: 4; color: "white" }
    }

    Caption { text: "Do you want any additional functionality for this step?" }
    Repeater {
        model: detail.model.availableOptionalViews
        delegate: ColumnLayout {
            id: offered
            required property string modelData
            // A QStringList reaches JavaScript as an array; qmllint 6.4 knows no methods on it.
            readonly property bool selected: detail.model.stagedSelection.indexOf(modelData) >= 0  // qmllint disable type
            Layout.fillWidth: true
            spacing: 4

            Switch {
                objectName: "viewSwitch " + offered.modelData
                text: offered.modelData
                checked: offered.selected
                onToggled: detail.model.setViewSelected(offered.modelData, checked)
            }
            Repeater {
                model: offered.selected ? detail.model.parameterKeys(offered.modelData) : []
                delegate: ColumnLayout {
                    id: parameter
                    required property string modelData
                    // A QStringList is a list<string>; qmllint 6.4 holds the two apart.
                    readonly property list<string> choices: detail.model.choices(offered.modelData, modelData)  // qmllint disable type
                    readonly property string value: {
                        const staged = detail.model.stagedParams[offered.modelData]
                        return staged && staged[modelData] !== undefined ? staged[modelData] : ""
                    }
                    Layout.leftMargin: 48
                    Layout.fillWidth: true
                    Label { text: detail.model.prompt(offered.modelData, parameter.modelData) }
                    ComboBox {
                        objectName: "viewChoice " + offered.modelData + " " + parameter.modelData
                        visible: parameter.choices.length > 0
                        model: parameter.choices
                        currentIndex: parameter.choices.indexOf(parameter.value)
                        onActivated: function (index) {
                            detail.model.setParameter(offered.modelData, parameter.modelData, parameter.choices[index])
                        }
                        Layout.preferredWidth: 360
                    }
                    TextField {
                        objectName: "viewText " + offered.modelData + " " + parameter.modelData
                        visible: parameter.choices.length === 0
                        text: parameter.value
                        onTextEdited: detail.model.setParameter(offered.modelData, parameter.modelData, text)
                        Layout.fillWidth: true
                    }
                }
            }
        }
    }
}
