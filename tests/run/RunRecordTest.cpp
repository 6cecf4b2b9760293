// The record of a run in progress: kept up by the recorder, never read back
// broken, and taken up again by the controller.
#include "RunFixture.h"

#include "model/ProtocolLibrary.h"
#include "run/RunRecorder.h"

class RunRecordTest : public RunFixture
{
protected:
    RunRecordTest()
    {
        useSteps({step(1, "first", 2), step(2, "rest", 5, {{"Timer (drone side)", {}}}), step(3, "last", 2)});
        documents.write("Research_protocols/study.json", "{}");
        library.setSelectedFileName("study.json");
    }

    ProtocolLibrary library{protocol};
    RunRecorder recorder{controller, library};
};

TEST_F(RunRecordTest, KeptWhileTheRunGoesOnAndGoneWhenItEnds)
{
    startAt("12");
    ticks(3);
    recorder.keepAlive();
    auto record = RunRecord::load();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->protocolFile, "study.json");
    EXPECT_EQ(record->protocolHash, RunRecord::hashOf("{}"));
    EXPECT_EQ(record->labelFileBaseName(), "Study_12_1_20261205_100000");
    EXPECT_EQ(std::tuple(record->step, record->stepLabel, record->stepId, record->secondsLeft, record->paused),
              std::tuple(1, QString("rest"), QString("2"), qint64(4), false));
    EXPECT_EQ(record->stepBegan, "05-12-26/10:00:02.000");
    EXPECT_EQ(record->lastAlive, clock->now());
    controller.togglePause();
    recorder.keepAlive();
    EXPECT_TRUE(RunRecord::load()->paused);
    controller.stopRun();
    EXPECT_FALSE(RunRecord::load()) << "a stopped run leaves no record";
    startAt();
    recorder.keepAlive();
    ASSERT_TRUE(RunRecord::load());
    ticks(10);
    EXPECT_TRUE(controller.isCompleted());
    EXPECT_FALSE(RunRecord::load()) << "nor does a completed one";
}

TEST_F(RunRecordTest, ARecordCutAnywhereOrWithAFieldMissingIsNotRead)
{
    startAt();
    const QByteArray whole = recorder.record().toJson();
    ASSERT_TRUE(RunRecord::fromJson(whole));
    for (qsizetype size = 0; size < whole.size() - 2; ++size)
        EXPECT_FALSE(RunRecord::fromJson(whole.left(size))) << size;
    for (const char *field : {"\"ppid\"", "\"stepBegan\"", "\"lastAlive\"", "\"secondsLeft\""}) {
        QByteArray without = whole;
        without.replace(field, "\"other\"");
        EXPECT_FALSE(RunRecord::fromJson(without)) << field;
    }
}

TEST_F(RunRecordTest, ResumeWritesTheGapAsAPauseAndShowsTheDroneTheStepAgain)
{
    startAt("12");
    ticks(3);
    const RunRecord record = recorder.record();
    const QString before = controller.LabelLogString();
    controller.stopRun();
    controller.setShouldReturnToHome(false); // as the root view does on its way home
    sent.clear();
    clock->advanceMs(60000);
    controller.resumeInterruptedRun(record, before);
    EXPECT_EQ(controller.LabelLogString().left(before.size()), before);
    EXPECT_EQ(logLines().mid(before.count('\n')),
              (QStringList{"05-12-26/10:00:02.000\trest (2) started", "05-12-26/10:00:03.000\trest (2) paused ",
                           "05-12-26/10:00:03.000\tThe timekeeper stopped unexpectedly at about 10:00:03; the run "
                           "was paused until it was taken up again.",
                           "05-12-26/10:01:03.000\tresearch resumed in rest (2)"}));
    EXPECT_EQ(sent, (QStringList{"resume", "timer: 4"}));
    EXPECT_EQ(status(), "step 1, 4 s, running");
}
