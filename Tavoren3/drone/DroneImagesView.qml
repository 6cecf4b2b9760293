pragma ComponentBehavior: Bound
import QtQuick
import Tavoren

// The pictures of an image set, as large as the screen lets them be, in a
// grid of equal cells at the centre.
Item {
    id: images
    required property DroneScreen model
    required property real unit
    readonly property int count: model.imageSources.length
    readonly property int columns: Math.max(1, Math.ceil(Math.sqrt(count)))
    readonly property int rows: Math.max(1, Math.ceil(count / columns))
    readonly property real spacing: unit * 0.4
    readonly property real cell: Math.min((width - unit - spacing * (columns - 1)) / columns,
                                          (height - unit - spacing * (rows - 1)) / rows)

    Grid {
        anchors.centerIn: parent
        columns: images.columns
        spacing: images.spacing
        Repeater {
            objectName: "droneImages"
            model: images.model.imageSources
            delegate: Image {
                required property string modelData
                source: modelData
                width: images.cell
                height: images.cell
                fillMode: Image.PreserveAspectFit
                smooth: true
            }
        }
    }
}
