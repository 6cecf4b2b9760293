import QtQuick
import Tavoren
import QtQuick.Controls

// The rating asked on the drone, as far as it has come.
Pane {
    id: slider
    required property SliderViewModel model

    objectName: "sliderView"
    padding: 12
    Label {
        objectName: "sliderText"
        text: slider.model.displayText
        font.pixelSize: slider.model.displayIsLarge ? 60 : 20
        font.bold: true
        color: slider.model.displayColor
    }
}
