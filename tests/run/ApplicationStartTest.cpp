#include "run/RunFixture.h"

#include "bridge/EspBleCentral.h"
#include "run/QtSoundPlayer.h"
#include "run/Tavoren3App.h"

#include <QFile>

#include <QSignalSpy>
#include <QTest>

using ApplicationStart = RunFixture;

TEST_F(ApplicationStart, ScenePhasesGoToTheEventLog)
{
    Tavoren3App app(sound, QStringLiteral("Test tablet"));
    app.scenePhaseChanged(Qt::ApplicationHidden);
    app.scenePhaseChanged(Qt::ApplicationActive);
    app.scenePhaseChanged(Qt::ApplicationInactive);
    EXPECT_EQ(documents.read("log.lbl"), "2026-12-05 10:00:00.000\tBackground\n"
                                         "2026-12-05 10:00:00.000\tActive\n"
                                         "2026-12-05 10:00:00.000\tDefault New Phase: inactive \n");
}

TEST_F(ApplicationStart, TheControllerIsTickedEverySecond)
{
    Tavoren3App app(sound, QStringLiteral("Test tablet"));
    EXPECT_EQ(app.VESK_Session().displayName(), "Test tablet");
    EXPECT_NE(&app.bleManager(), app.verkeersLeiding().bleManager()) << "the controller has a central of its own";
    ::Run *run = app.currentProtocol().currentProtocol();
    run->setVersion("1");
    run->setSteps({step(1, "a", 0)});
    app.verkeersLeiding().setPPID("1");
    app.verkeersLeiding().startRun();
    QSignalSpy ticked(&app.verkeersLeiding(), &VerkeersLeiding::remainingTimeChanged);
    ASSERT_TRUE(ticked.wait(3000));
    EXPECT_EQ(app.verkeersLeiding().remainingTime(), -1);
}

TEST(SystemSounds, BundledSoundsPlayAndUnknownOnesAreReported)
{
    ConsoleCapture console;
    QtSoundPlayer player;
    player.playSystemSound(1000);
    player.playSystemSound(1303);
    player.playSystemSound(1234);
    EXPECT_EQ(console.lines().count("No sound 1234"), 1);
    // The bundled files decode; they play, or are named where there is no audio output.
    for (const QString line : {"1000", "1303"}) {
        EXPECT_FALSE(console.anyStartsWith("Sound " + line + " is not"));
        EXPECT_TRUE(console.lines().filter("Sound " + line).isEmpty()
                    || console.contains("Sound " + line + " (no audio output)"));
    }
}
