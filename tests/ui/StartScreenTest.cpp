#include "ScreenFixture.h"

#include "report/BackgroundViewModel.h"
#include "run/ContentViewModel.h"
#include "run/StartViewModel.h"
#include "run/VerkeersLeiding.h"

#include "support/LoopbackHttpServer.h"

#include <QFileInfo>
#include <QTest>
#include <QSignalSpy>

namespace {

class StartScreen : public ScreenFixture
{
protected:
    void addProtocol(const QString &file, const QString &name, bool usesDrone,
                     const QString &description = QString())
    {
        ScreenFixture::addProtocol(file, {name, "1", usesDrone, {step(1, "Rest", "rest", 30)}, description});
    }

    // Presses start and returns the alert's title, or an empty text when the run began.
    QString pressStart()
    {
        click("startButton");
        if (!models->content()->isPPidUnknown() || !shown("startAlert"))
            return {};
        return text("alertTitle", find("startAlert"));
    }

    void answerAlert(const QString &button)
    {
        QObject *alert = find("startAlert");
        ASSERT_NE(alert, nullptr);
        click("alertButton " + button, alert);
    }
};

} // namespace

TEST_F(StartScreen, ShowsTheFixedTexts)
{
    addProtocol("solo.json", "Solo", false, "Two minutes of rest.");

    EXPECT_EQ(text("settingsFromFile"), "Settings from file no file selected");
    EXPECT_EQ(text("deviceName"), "This device name: " + StartViewModel::deviceName());
    EXPECT_EQ(text("versionLine"), " Version: 3.0.0 Build: 7 WebVersion: NO");
    EXPECT_TRUE(text("buildDateLine").startsWith("  BuildDate: "));
    EXPECT_TRUE(shown("runRow solo.json"));
    EXPECT_FALSE(shown("duplicate solo.json"));
    EXPECT_FALSE(shown("startAlert"));

    click("runRow solo.json");
    EXPECT_EQ(text("settingsFromFile"), "Settings from file solo.json");
    EXPECT_EQ(text("descriptionText"), "Two minutes of rest.");
    EXPECT_EQ(text("droneInfo"), "Protocol doesn't use a drone");
    EXPECT_FALSE(shown("droneButton"));
    screenshot("start-screen");
}

TEST_F(StartScreen, StartChecksShowTheirAlertsInOrder)
{
    addProtocol("drone.json", "Drone study", true);

    EXPECT_EQ(pressStart(), "No research selected");
    EXPECT_EQ(text("alertMessage", find("startAlert")), "Please select the research format in order to start.");
    answerAlert("OK");
    EXPECT_FALSE(shown("startAlert"));

    click("runRow drone.json");
    EXPECT_EQ(pressStart(), "Participant ID missing");
    EXPECT_EQ(text("alertMessage", find("startAlert")), "Please enter the participant ID in order start.");
    answerAlert("OK");

    type("ppidField", " 12 ");
    EXPECT_EQ(models->start()->PPID(), " 12 ");
    EXPECT_EQ(pressStart(), "Participant ID has non-numbers");
    EXPECT_EQ(text("alertMessage", find("startAlert")), "Participant ID must consist of numbers only.");
    answerAlert("OK");

    type("ppidField", "12");
    EXPECT_TRUE(shown("droneButton"));
    EXPECT_EQ(text("droneButton"), "Find drone");
    EXPECT_EQ(text("droneInfo"), "Drone device name: No device found");
    EXPECT_EQ(pressStart(), "Drone required");
    EXPECT_TRUE(text("alertMessage", find("startAlert")).startsWith("Please connect to a  drone in order to run."));
    screenshot("start-drone-required");
    answerAlert("OK");

    EXPECT_FALSE(app->verkeersLeiding().running());
    EXPECT_TRUE(models->content()->isPPidUnknown());
}

TEST_F(StartScreen, StartEntersTheRunScreen)
{
    addProtocol("solo.json", "Solo", false);
    click("runRow solo.json");
    type("ppidField", "7");
    EXPECT_EQ(pressStart(), "");

    EXPECT_TRUE(app->verkeersLeiding().running());
    EXPECT_EQ(app->verkeersLeiding().PPID(), "7");
    EXPECT_EQ(text("stepName"), "Rest");
}

TEST_F(StartScreen, EditModeDuplicatesAndDeletesWithConfirmation)
{
    addProtocol("Solo_1.json", "Solo", false);

    click("editModeButton");
    EXPECT_EQ(text("editModeButton"), "Done");
    ASSERT_TRUE(shown("duplicate Solo_1.json"));
    click("duplicate Solo_1.json");
    const QStringList afterDuplicate = models->start()->configFiles();
    ASSERT_EQ(afterDuplicate.size(), 2);
    const QString copy = afterDuplicate.at(1);
    EXPECT_TRUE(documents.exists("Research_protocols/" + copy));

    click("delete " + copy);
    ASSERT_TRUE(shown("startAlert"));
    EXPECT_EQ(text("alertTitle", find("startAlert")), "Delete Protocol");
    EXPECT_EQ(text("alertMessage", find("startAlert")),
              "Are you sure you want to delete '" + copy + "'? This action cannot be undone.");
    screenshot("start-delete-question");
    EXPECT_TRUE(find("alertButton Delete", find("startAlert"))->property("destructive").toBool());
    EXPECT_FALSE(find("alertButton Cancel", find("startAlert"))->property("destructive").toBool());
    // Escape answers with the cancel button.
    QTest::keyClick(window, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(shown("startAlert"));
    EXPECT_TRUE(documents.exists("Research_protocols/" + copy));

    click("delete " + copy);
    answerAlert("Delete");
    EXPECT_FALSE(documents.exists("Research_protocols/" + copy));
    EXPECT_EQ(models->start()->configFiles(), QStringList{"Solo_1.json"});
}

TEST_F(StartScreen, NewerBuildIsOfferedOverTheStartScreen)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.isRunning());
    server.serve("manifest.plist", QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>items</key><array><dict><key>assets</key><array/>
<key>metadata</key><dict><key>bundle-version</key><string>3.1.0</string><key>build</key><string>9</string>
</dict></dict></array></dict></plist>)"));
    appInfo.setManifestUrl(server.url("manifest.plist"));
    QSignalSpy finished(models->background(), &BackgroundViewModel::checkFinished);
    models->background()->appeared();
    ASSERT_TRUE(finished.wait(10000));
    settle();

    ASSERT_TRUE(shown("updateAlert"));
    EXPECT_EQ(text("alertTitle", find("updateAlert")), "New version is available:");
    EXPECT_EQ(text("alertMessage", find("updateAlert")),
              " Current version 3.0.0 \t Build: 7\n New version 3.1.0\t Build: 9");
    screenshot("update-alert");
    click("alertButton Go To installer Web Site", find("updateAlert"));
    EXPECT_FALSE(shown("updateAlert"));
    ASSERT_EQ(urlOpener.opened.size(), 1);
    EXPECT_EQ(urlOpener.opened.first(), AppInfo::installerUrl());
}
