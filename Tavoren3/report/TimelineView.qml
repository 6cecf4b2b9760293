import QtQuick
import QtQuick.Controls
import Tavoren

// A label file as a timeline, scrolled when it is tall; what a bar or marker
// stands for shows when it is pointed at or tapped.
Item {
    id: view
    required property string source
    property point tipAt

    implicitHeight: timeline.failure !== "" ? failure.implicitHeight : Math.min(timeline.implicitHeight, 360)

    Label {
        id: failure
        visible: timeline.failure !== ""
        width: parent.width
        text: timeline.failure
        color: "white"
        wrapMode: Text.WrapAnywhere
    }

    Flickable {
        anchors.fill: parent
        visible: timeline.failure === ""
        contentHeight: timeline.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds

        TimelineItem {
            id: timeline
            objectName: "timeline"
            width: view.width
            height: implicitHeight
            source: view.source

            HoverHandler {
                onPointChanged: {
                    view.tipAt = point.position
                    timeline.pointAt(point.position.x, point.position.y)
                }
                onHoveredChanged: if (!hovered) timeline.clearPointed()
            }
            TapHandler {
                onTapped: (eventPoint) => {
                    view.tipAt = eventPoint.position
                    timeline.pointAt(eventPoint.position.x, eventPoint.position.y)
                }
            }
            ToolTip {
                objectName: "timelineTip"
                visible: timeline.pointedText !== ""
                text: timeline.pointedText
                x: Math.min(view.tipAt.x + 12, timeline.width - width)
                y: view.tipAt.y + 16
            }
        }
    }
}
