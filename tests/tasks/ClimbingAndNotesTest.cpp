#include "run/RunFixture.h"

#include "common/TaskTimer.h"
#include "tasks/ClimbingView.h"
#include "tasks/WriteNoteView.h"

#include <QCoreApplication>

using ClimbingAndNotes = RunFixture;

TEST_F(ClimbingAndNotes, ClimbingStateOnAppearanceAndOnJumpsOnly)
{
    useSteps({step(1, "climb", 120), step(2, "rest", 45)});
    startAt();
    ClimbingView climbing(controller, session);
    climbing.appeared();
    EXPECT_EQ(sent, QStringList{"climbing: 120"});
    sent.clear();
    for (const qint64 t : {30, 29, 28, 5, 60, 3, 0, 10, 8})
        controller.setRemainingTime(t);
    EXPECT_EQ(sent, (QStringList{"climbing: 30", "climbing: 5", "climbing: 60", "climbing: 3", "climbing: 10",
                                 "climbing: 8"}))
        << "the one-second steps send nothing, nor does zero";
    sent.clear();
    controller.setRemainingTime(0);
    controller.togglePause();
    controller.advance(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(sent, QStringList{"pause"}) << "the view sends nothing while paused";
    controller.togglePause();
    controller.setRemainingTime(0);
    controller.previousStep();
    QCoreApplication::processEvents();
    EXPECT_EQ(sent.last(), "climbing: 120");
}

TEST_F(ClimbingAndNotes, AFallLocksTheButtonFor51Seconds)
{
    TaskTimer::setVirtualTime(true);
    useSteps({step(1, "climb", 120)});
    startAt();
    ClimbingView climbing(controller, session);
    controller.togglePause();
    climbing.participantFell();
    EXPECT_EQ(sent.last(), "fall") << "a fall reaches the drone even while paused";
    climbing.participantFell();
    EXPECT_EQ(sent.count("fall"), 1) << "the locked button does nothing";
    TaskTimer::advanceVirtualTime(50 * 1000);
    EXPECT_TRUE(climbing.fellButtonDisabled());
    EXPECT_EQ(climbing.fallButtonText(), "You can restart in 0s");
    TaskTimer::advanceVirtualTime(1000);
    TaskTimer::setVirtualTime(false);
    EXPECT_FALSE(climbing.fellButtonDisabled());
    EXPECT_FALSE(climbing.countdownRunning());
    EXPECT_EQ(logLines().filter("\tParticipant fell").size(), 1) << "nor does it log";
}

TEST_F(ClimbingAndNotes, NotesAreTrimmedAndBlankNotesWriteNothing)
{
    useSteps({step(1, "a", 0)});
    startAt();
    WriteNoteView notes(controller);
    notes.setNote("  \n ");
    EXPECT_FALSE(notes.addNote());
    EXPECT_EQ(notes.note(), "  \n ") << "the field keeps its content";
    notes.setNote("  electrode loose\nleft arm  ");
    EXPECT_EQ(controller.note(), "  electrode loose\nleft arm  ");
    controller.togglePause();
    clock->advanceMs(120);
    EXPECT_TRUE(notes.addNote());
    EXPECT_EQ(notes.note(), "");
    EXPECT_EQ(controller.note(), "");
    EXPECT_TRUE(controller.LabelLogString().endsWith("05-12-26/10:00:00.120\telectrode loose\nleft arm\n"));
}
