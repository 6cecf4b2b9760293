import QtQuick
import Tavoren
import QtQuick.Layouts

// The current step's optional views, one below the other.
ColumnLayout {
    id: list
    required property OptionalViewModel model

    objectName: "optionalViews"
    spacing: 16
    Component.onCompleted: model.appeared()
    Component.onDestruction: model.disappeared()

    Repeater {
        model: list.model.entries
        delegate: SingleOptionalView {
            required property SingleOptionalViewModel modelData
            entry: modelData
            Layout.fillWidth: true
        }
    }
}
