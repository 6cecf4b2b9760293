import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The image list: a load error, then the pictures in one scrolling row.
ColumnLayout {
    id: images
    required property ImageViewModel model

    objectName: "imageView"

    Label {
        objectName: "imageLoadError"
        visible: text.length > 0
        text: images.model.loadError
        color: "red"
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }
    ListView {
        orientation: ListView.Horizontal
        spacing: 12
        leftMargin: 8
        rightMargin: 8
        clip: true
        model: images.model.imageSources
        Layout.fillWidth: true
        Layout.preferredHeight: 180
        delegate: Image {
            required property string modelData
            source: modelData
            height: 180
            fillMode: Image.PreserveAspectFit
            width: implicitHeight > 0 ? implicitWidth * 180 / implicitHeight : 180
        }
    }
}
