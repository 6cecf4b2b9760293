#include "run/RunFixture.h"

#include "tasks/ExerciseView.h"

#include <QTest>

namespace {

class CountingHaptics : public HapticFeedback
{
public:
    void impactOccurred() override { ++impacts; }
    int impacts = 0;
};

class Exercises : public RunFixture
{
protected:
    Exercises()
    {
        documents.write("Exercises/ab.json", R"({"exercises":[{"name":"A","duration":3,"imageName":"a"},
                                                              {"name":"B","duration":2,"imageName":"b","extra":1}]})");
        useSteps({step(1, "warm", 0)});
        startAt();
    }

    // Moves the clock on one second, then lets it pass for the view.
    void second(ExerciseView &view, bool gapEnds = false)
    {
        clock->advanceMs(1000);
        if (gapEnds)
            view.startExercise();
        else
            view.tick();
    }

    QStringList exerciseLines() const { return logLines().mid(2); }

    CountingHaptics haptics;
};

} // namespace

TEST_F(Exercises, TimelineOfTwoExercises)
{
    ExerciseView view(controller, session, haptics, "ab.json");
    view.setSecondMs(3600 * 1000);
    sent.clear();
    view.appeared();
    EXPECT_EQ(view.exerciseName(), "A");
    for (int t = 1; t <= 4; ++t)
        second(view);
    second(view, true);
    EXPECT_EQ(view.exerciseName(), "B");
    for (int t = 6; t <= 8; ++t)
        second(view);
    EXPECT_TRUE(view.finished());
    EXPECT_FALSE(view.isActive());
    EXPECT_EQ(view.totalElapsedTime(), 5);
    EXPECT_EQ(view.totalText(), "00:05");
    EXPECT_EQ(exerciseLines(), (QStringList{"05-12-26/10:00:00.000\tExercise Started: A (3s)",
                                            "05-12-26/10:00:04.000\tExercise Completed: A",
                                            "05-12-26/10:00:05.000\tExercise Started: B (2s)",
                                            "05-12-26/10:00:08.000\tExercise Completed: B",
                                            "05-12-26/10:00:08.000\tAll Exercises Completed (Total: 5s)"}));
    EXPECT_EQ(sent, (QStringList{"exercise: A - 3s", "exercise: A", "exercise: A - 2s", "exercise: A - 1s",
                                 "exercise: A - 0s", "exercise: B - 2s", "exercise: B - 1s", "exercise: B - 0s",
                                 "exercises completed"}));
    EXPECT_EQ(haptics.impacts, 3) << "at 2 and 1 of A, at 1 of B";
}

TEST_F(Exercises, PauseSilencesTheDroneButNotTheLabels)
{
    ExerciseView view(controller, session, haptics, "ab.json");
    view.setSecondMs(3600 * 1000);
    controller.togglePause();
    sent.clear();
    view.appeared();
    second(view);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(logLines().filter("\tExercise Started: A (3s)").size(), 1);
    EXPECT_EQ(view.remainingTime(), 2);
}

TEST_F(Exercises, RealTimersRunTheSequenceAndBadFilesLoadNothing)
{
    ExerciseView view(controller, session, haptics, "ab.json");
    view.setSecondMs(10);
    view.appeared();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.finished(); }, 5000));
    EXPECT_EQ(exerciseLines().size(), 5);

    documents.write("Exercises/broken.json", R"({"exercises":[{"name":"A","duration":"3","imageName":"a"}]})");
    ExerciseView broken(controller, session, haptics, "broken.json");
    broken.appeared();
    EXPECT_FALSE(broken.loaded());
    EXPECT_TRUE(console.anyStartsWith("Error loading exercises from Documents: typeMismatch"));
    ExerciseView missing(controller, session, haptics, "warmup");
    missing.appeared();
    EXPECT_TRUE(missing.loaded()) << "found in the package as warmup.json";
    EXPECT_EQ(missing.exerciseName(), "Arm circles");
}
