#include "ScreenFixture.h"

#include "run/StartViewModel.h"
#include "run/VerkeersLeiding.h"

#include <QTest>

namespace {

class StartScreen : public ScreenFixture
{
protected:
    void addProtocol(const QString &file, bool usesDrone, const QString &description = "Two minutes.")
    {
        ScreenFixture::addProtocol(file, {"Solo", "1", usesDrone, {step(1, "Rest", "rest", 30)}, description});
    }
    // Whether the named text is shown whole, not cut or elided.
    bool whole(const QString &name)
    {
        const QObject *label = find(name);
        return label->property("width").toReal() >= label->property("implicitWidth").toReal()
            && !label->property("truncated").toBool();
    }
    // The start alert's title and message after a press on start; empty when none shows.
    QStringList alertAfterStart()
    {
        click("startButton");
        if (app->verkeersLeiding().running() || !shown("startAlert"))
            return {};
        return {text("alertTitle", find("startAlert")), text("alertMessage", find("startAlert"))};
    }
};

} // namespace

TEST_F(StartScreen, AFailedCheckAlertsAndAPassedOneEntersTheRunScreen)
{
    addProtocol("drone.json", true,
                "Two minutes. " + QString("A long description that goes on and on. ").repeated(30)
                    + QString(120, 'w'));
    EXPECT_EQ(text("settingsFromFile"), "Settings from file no file selected");
    EXPECT_EQ(text("versionLine"), " Version: 3.0.0 Build: 7 WebVersion: NO");
    click("runRow drone.json");
    EXPECT_EQ(text("settingsFromFile"), "Settings from file drone.json");
    EXPECT_TRUE(text("descriptionText").startsWith("Two minutes. A long"));
    for (const char *header : {"protocolHeading", "settingsFromFile", "newProtocolButton", "editModeButton"})
        EXPECT_TRUE(whole(header)) << header << " beside a long description";
    EXPECT_EQ(text("droneButton"), "Find drone");
    EXPECT_EQ(text("droneInfo"), "Drone device name: No device found");
    type("ppidField", "1 2");
    EXPECT_EQ(alertAfterStart(),
              (QStringList{"Participant ID has non-numbers", "Participant ID must consist of numbers only."}));
    answer("startAlert", "OK");
    EXPECT_FALSE(shown("startAlert"));
    type("ppidField", "12");
    EXPECT_EQ(alertAfterStart().value(0), "Drone required");
    screenshot("start-drone-required");
    answer("startAlert", "OK");
    addProtocol("solo.json", false);
    click("runRow solo.json");
    EXPECT_EQ(text("droneInfo"), "Protocol doesn't use a drone");
    EXPECT_FALSE(shown("droneButton"));
    screenshot("start-screen");
    EXPECT_EQ(alertAfterStart(), QStringList());
    EXPECT_EQ(app->verkeersLeiding().PPID(), "12");
    EXPECT_EQ(text("stepName"), "Rest");

    app->verkeersLeiding().advance(false);
    click("returnHomeButton");
    click("runRow solo.json");
    EXPECT_EQ(text("ppidField"), "12") << "the field keeps the last id";
    EXPECT_EQ(alertAfterStart().value(0), "Same participant");
    screenshot("start-same-participant");
    EXPECT_EQ(focused(), "alertButton Cancel") << "the keyboard answers the question, not the screen behind";
    answer("startAlert", "Cancel");
    EXPECT_FALSE(app->verkeersLeiding().running());
}

TEST_F(StartScreen, EditModeDuplicatesAndDeletesOnlyAfterTheQuestion)
{
    addProtocol("Solo_1.json", false);
    EXPECT_FALSE(shown("duplicate Solo_1.json"));
    click("editModeButton");
    EXPECT_EQ(text("editModeButton"), "Done");
    click("duplicate Solo_1.json");
    ASSERT_EQ(models->start()->configFiles().size(), 2);
    const QString copy = models->start()->configFiles().at(1);
    click("delete " + copy);
    EXPECT_EQ(text("alertMessage", find("startAlert")),
              "Are you sure you want to delete '" + copy + "'? This action cannot be undone.");
    screenshot("start-delete-question");
    // Escape answers with the cancel button.
    QTest::keyClick(window, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(shown("startAlert"));
    EXPECT_TRUE(documents.exists("Research_protocols/" + copy));
    click("delete " + copy);
    answer("startAlert", "Delete");
    EXPECT_FALSE(documents.exists("Research_protocols/" + copy));
    EXPECT_EQ(models->start()->configFiles(), QStringList{"Solo_1.json"});
}
