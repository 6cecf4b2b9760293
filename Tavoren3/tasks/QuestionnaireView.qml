pragma ComponentBehavior: Bound
import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The questionnaire: the question, the rating slider with its scale and one button.
ColumnLayout {
    id: questionnaire
    required property QuestionnaireViewModel model

    objectName: "questionnaireView"
    spacing: 12

    Label {
        objectName: "question"
        text: questionnaire.model.currentQuestion
        font.pixelSize: 26
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Layout.fillWidth: true
    }
    Slider {
        objectName: "ratingSlider"
        from: questionnaire.model.minimum
        to: questionnaire.model.maximum
        stepSize: 1
        snapMode: Slider.SnapAlways
        value: questionnaire.model.value
        onMoved: questionnaire.model.value = Math.round(value)
        palette.highlight: "#798edb"
        Layout.preferredWidth: 570
        Layout.alignment: Qt.AlignHCenter
    }
    Row {
        Layout.preferredWidth: 600
        Layout.alignment: Qt.AlignHCenter
        Repeater {
            model: questionnaire.model.maximum - questionnaire.model.minimum + 1
            delegate: Column {
                id: tick
                required property int index
                width: 600 / (questionnaire.model.maximum - questionnaire.model.minimum + 1)
                Rectangle { width: 2; height: 10; color: "black"; anchors.horizontalCenter: parent.horizontalCenter }
                Label {
                    text: questionnaire.model.minimum + tick.index
                    font.pixelSize: 11
                    anchors.horizontalCenter: parent.horizontalCenter
                }
            }
        }
    }
    Button {
        id: button
        objectName: "questionnaireButton"
        text: questionnaire.model.buttonTitle
        Layout.preferredWidth: 150
        Layout.preferredHeight: 52
        Layout.alignment: Qt.AlignHCenter
        contentItem: Label {
            text: button.text
            color: "white"
            font.pixelSize: 20
            font.bold: true
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle { radius: 20; color: questionnaire.model.buttonColor }
        onClicked: questionnaire.model.pressButton()
    }
}
