import QtQuick
import Tavoren
import QtQuick.Controls

// One optional view: the screen its kind chooses.
Loader {
    id: single
    required property var entry

    objectName: "optionalView " + entry.kindName
    sourceComponent: {
        switch (entry.kindName) {
        case "Arithmetic": return arithmetic
        case "Slider": return slider
        case "BloodPressure": return bloodPressure
        case "Climbing": return climbing
        case "Questionnaire": return questionnaire
        case "ImagesTimekeeper": return images
        case "Exercises": return exercises
        case "Invalid": return invalid
        default: return nothing
        }
    }

    Component { id: arithmetic; MathCalculationsView { model: single.entry.viewModel } }
    Component { id: slider; SliderView { model: single.entry.viewModel } }
    Component { id: bloodPressure; BloodPersureView { model: single.entry.viewModel } }
    Component { id: climbing; ClimbingView { model: single.entry.viewModel } }
    Component { id: questionnaire; QuestionnaireView { model: single.entry.viewModel } }
    Component { id: images; ImageView { model: single.entry.viewModel } }
    Component { id: exercises; ExerciseView { model: single.entry.viewModel } }
    Component {
        id: invalid
        Label {
            objectName: "invalidViewText"
            text: single.entry.errorText
            color: "red"
            font.pixelSize: 22
            horizontalAlignment: Text.AlignHCenter
        }
    }
    // Drone-side views show nothing here.
    Component { id: nothing; Item {} }
}
