import QtQuick
import Tavoren
import QtQuick.Controls

// One optional view: the screen its kind chooses.
Loader {
    id: single
    required property SingleOptionalViewModel entry

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

    // Qt 6.4's Loader cannot create bound components (pragma ComponentBehavior),
    // so qmllint takes the lookups of this file's ids inside them for unqualified.
    Component { id: arithmetic; MathCalculationsView { model: single.entry.viewModel as MathCalculationsViewModel } }  // qmllint disable unqualified
    Component { id: slider; SliderView { model: single.entry.viewModel as SliderViewModel } }  // qmllint disable unqualified
    Component { id: bloodPressure; BloodPersureView { model: single.entry.viewModel as BloodPersureViewModel } }  // qmllint disable unqualified
    Component { id: climbing; ClimbingView { model: single.entry.viewModel as ClimbingViewModel } }  // qmllint disable unqualified
    Component { id: questionnaire; QuestionnaireView { model: single.entry.viewModel as QuestionnaireViewModel } }  // qmllint disable unqualified
    Component { id: images; ImageView { model: single.entry.viewModel as ImageViewModel } }  // qmllint disable unqualified
    Component { id: exercises; ExerciseView { model: single.entry.viewModel as ExerciseViewModel } }  // qmllint disable unqualified
    Component {
        id: invalid
        Label {
            objectName: "invalidViewText"
            text: single.entry.errorText  // qmllint disable unqualified
            color: "red"
            font.pixelSize: 22
            horizontalAlignment: Text.AlignHCenter
        }
    }
    // Drone-side views show nothing here.
    Component { id: nothing; Item {} }
}
