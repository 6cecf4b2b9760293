import QtQuick
import Tavoren
import QtQuick.Layouts

// The current step's optional views, one below the other.
ColumnLayout {
    id: list
    required property var model

    objectName: "optionalViews"
    spacing: 16
    Component.onCompleted: model.appeared()
    Component.onDestruction: model.disappeared()

    Repeater {
        model: list.model.entries
        delegate: SingleOptionalView {
            required property var modelData
            entry: modelData
            Layout.fillWidth: true
        }
    }
}
