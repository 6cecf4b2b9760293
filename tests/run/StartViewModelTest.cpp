#include "run/RunFixture.h"

#include "model/ProtocolLibrary.h"
#include "run/ContentViewModel.h"
#include "run/QtSoundPlayer.h"
#include "run/StartViewModel.h"
#include "run/Tavoren3App.h"

#include <QMediaDevices>

namespace {

using Alert = StartViewModel::Alert;

class StartAction : public RunFixture
{
protected:
    StartAction()
    {
        addProtocol("solo.json", "Solo");
        start.appeared();
    }

    void addProtocol(const QString &file, const QString &name, bool usesDrone = false)
    {
        documents.write("Research_protocols/" + file, TestProtocol{name, "1", usesDrone, {step(1, "a", 5)}}.json());
    }

    // Taps the file and starts with this participant; the alert shown, None once started.
    Alert startWith(const QString &ppid, const QString &file = "solo.json")
    {
        start.tapProtocol(file);
        start.setPPID(ppid);
        const bool started = start.start();
        EXPECT_EQ(started, start.alert() == Alert::None) << ppid.toStdString();
        return start.alert();
    }

    ProtocolLibrary library{protocol};
    ContentViewModel content{controller, session, library};
    StartViewModel start{content, library, controller, session};
};

} // namespace

TEST_F(StartAction, ChecksRunInOrderAndAStoppedRunReturnsToAnEmptyScreen)
{
    EXPECT_EQ(startWith("12", ""), Alert::NoFileSelected);
    EXPECT_EQ(startWith(" \n"), Alert::NoPPID);
    for (const char *notNumeric : {"1 2", "1a", "\u0661\u0662"})
        EXPECT_EQ(startWith(notNumeric), Alert::PPIDNotNumeric) << notNumeric;
    documents.write("Research_protocols/solo.json", "{broken");
    EXPECT_EQ(startWith("12"), Alert::RunLoadError);
    // The drone is checked after the protocol is taken.
    addProtocol("drone.json", "Needs drone", true);
    EXPECT_EQ(startWith("7", "drone.json"), Alert::DroneRequired);
    EXPECT_EQ(protocol.currentProtocol()->researchName(), "Needs drone");
    EXPECT_TRUE(logLines().isEmpty()) << "a refused start writes nothing";

    addProtocol("solo.json", "Solo");
    start.dismissAlert();
    EXPECT_EQ(startWith(" 12 \n"), Alert::None) << "spaces around the id are no part of it";
    EXPECT_FALSE(content.isPPidUnknown());
    EXPECT_EQ(status(), "step 0, 5 s, running");
    EXPECT_EQ(controller.PPID() + " " + controller.runTimestamp(), "12 20261205_100000");

    controller.togglePause();
    controller.stopRun();
    EXPECT_TRUE(content.isPPidUnknown());
    EXPECT_EQ(start.selectedFileName(), "");
    EXPECT_FALSE(controller.shouldReturnToHome());

    // Only a completed run makes its participant's id worth a question.
    EXPECT_EQ(startWith("12"), Alert::None);
    controller.advance(false);
    controller.stopRun();
    EXPECT_EQ(startWith("12"), Alert::SameParticipant);
    EXPECT_EQ(start.alertMessage(), "A run for participant 12 was recorded at 10:00 today. Start another run for 12?");
    EXPECT_FALSE(controller.running());
    start.chooseAlertButton("Cancel");
    EXPECT_FALSE(controller.running());
    EXPECT_EQ(startWith("13"), Alert::None);
    controller.advance(false);
    controller.stopRun();
    EXPECT_EQ(startWith("12"), Alert::None) << "12 is no longer the last one";
    controller.advance(false);
    controller.stopRun();
    EXPECT_EQ(startWith("12"), Alert::SameParticipant);
    start.chooseAlertButton("Start");
    EXPECT_EQ(controller.PPID(), "12");
    EXPECT_TRUE(controller.running());
}

TEST_F(StartAction, ADeletedProtocolIsNoLongerSelectedEditModeOpensTheEditor)
{
    start.tapProtocol("solo.json");
    start.requestDelete("solo.json");
    start.confirmDelete();
    EXPECT_EQ(start.selectedFileName(), "");

    addProtocol("solo.json", "Solo");
    start.appeared();
    start.setRunsEditModeActive(true);
    start.tapProtocol("solo.json");
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_FALSE(start.runsEditModeActive());
    EXPECT_EQ(content.currentEditingFileName(), "solo.json");
    EXPECT_EQ(protocol.currentProtocol()->researchName(), "Solo");

    content.setIsTestEditing(false);
    start.newProtocol();
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_EQ(content.currentEditingFileName(), "");
    EXPECT_EQ(protocol.currentProtocol()->researchName(), "New research");
}

using ApplicationStart = RunFixture;

TEST_F(ApplicationStart, ScenePhasesGoToTheEventLog)
{
    Tavoren3App app(sound, QStringLiteral("Test tablet"));
    EXPECT_EQ(app.VESK_Session().displayName(), "Test tablet");
    EXPECT_NE(&app.bleManager(), app.verkeersLeiding().bleManager()) << "the controller has a central of its own";
    app.scenePhaseChanged(Qt::ApplicationHidden);
    clock->advanceMs(1500);
    app.scenePhaseChanged(Qt::ApplicationActive);
    app.scenePhaseChanged(Qt::ApplicationInactive);
    EXPECT_EQ(documents.read("log.lbl"), "2026-12-05 10:00:00.000\tBackground\n"
                                         "2026-12-05 10:00:01.500\tActive\n"
                                         "2026-12-05 10:00:01.500\tDefault New Phase: inactive \n");
}

TEST(SystemSounds, BundledSoundsPlayAndUnknownOnesAreReported)
{
    ConsoleCapture console;
    QtSoundPlayer player;
    player.playSystemSound(1000);
    player.playSystemSound(1303);
    player.playSystemSound(1234);
    // The bundled files decode: they play, or, with no audio output, say so.
    QStringList expected;
    if (QMediaDevices::defaultAudioOutput().isNull())
        expected << "Sound 1000 (no audio output)" << "Sound 1303 (no audio output)";
    EXPECT_EQ(console.lines(), expected << "No sound 1234");
}
