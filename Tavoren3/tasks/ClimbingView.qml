import QtQuick
import Tavoren
import QtQuick.Controls
import QtQuick.Layouts

// The climbing task's three event buttons.
ColumnLayout {
    id: climbing
    required property ClimbingViewModel model

    objectName: "climbingView"
    spacing: 16

    component ClimbingButton: Button {
        id: button
        property color fill
        Layout.preferredWidth: 300
        Layout.alignment: Qt.AlignHCenter
        contentItem: Label {
            text: button.text
            color: "white"
            font.pixelSize: 26
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle { radius: 12; color: button.fill }
    }

    ClimbingButton {
        objectName: "attemptStartButton"
        text: "Attempt Start"
        fill: "#98cf73"
        Layout.preferredHeight: 70
        onClicked: climbing.model.attemptStart()
    }
    ClimbingButton {
        objectName: "successfulAttemptButton"
        text: "Successful attempt"
        fill: "#798edb"
        Layout.preferredHeight: 60
        onClicked: climbing.model.successfulAttempt()
    }
    ClimbingButton {
        objectName: "fallButton"
        text: climbing.model.fallButtonText
        enabled: !climbing.model.fellButtonDisabled
        fill: climbing.model.fellButtonDisabled ? "#ccd1ef" : "#fc96a9"
        opacity: climbing.model.fellButtonDisabled ? 0.6 : 1
        Layout.preferredHeight: 70
        onClicked: climbing.model.participantFell()
    }
}
