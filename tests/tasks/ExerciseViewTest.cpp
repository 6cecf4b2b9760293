#include "run/RunFixture.h"

#include "common/TaskTimer.h"
#include "tasks/ExerciseView.h"

namespace {

class CountingHaptics : public HapticFeedback
{
public:
    void impactOccurred() override { ++impacts; }
    int impacts = 0;
};

// The exercise seconds run on virtual time, each with the wall clock.
class Exercises : public RunFixture
{
protected:
    Exercises()
    {
        TaskTimer::setVirtualTime(true);
        documents.write("Exercises/ab.json", R"({"exercises":[{"name":"A","duration":3,"imageName":"a"},
                                                              {"name":"B","duration":2,"imageName":"b","extra":1}]})");
        useSteps({step(1, "warm", 0)});
        startAt();
    }
    ~Exercises() override { TaskTimer::setVirtualTime(false); }

    void seconds(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock->advanceMs(1000);
            TaskTimer::advanceVirtualTime(1000);
        }
    }

    CountingHaptics haptics;
    ExerciseView view{controller, session, haptics, "ab.json"};
};

} // namespace

TEST_F(Exercises, TimelineOfTwoExercises)
{
    sent.clear();
    view.appeared();
    EXPECT_EQ(view.exerciseName(), "A");
    seconds(5);
    EXPECT_EQ(view.exerciseName(), "B") << "after a second's gap";
    seconds(3);
    EXPECT_TRUE(view.finished());
    EXPECT_FALSE(view.isActive());
    EXPECT_EQ(view.totalText(), "00:05");
    EXPECT_EQ(logLines().last(), "05-12-26/10:00:08.000\tAll Exercises Completed (Total: 5s)");
    EXPECT_EQ(sent, (QStringList{"exercise: A - 3s", "exercise: A", "exercise: A - 2s", "exercise: A - 1s",
                                 "exercise: A - 0s", "exercise: B - 2s", "exercise: B - 1s", "exercise: B - 0s",
                                 "exercises completed"}));
    EXPECT_EQ(haptics.impacts, 3) << "at 2 and 1 of A, at 1 of B";
}

TEST_F(Exercises, PauseSilencesTheDroneButNotTheLabels)
{
    controller.togglePause();
    sent.clear();
    view.appeared();
    seconds(1);
    EXPECT_EQ(sent, QStringList{});
    EXPECT_EQ(logLines().filter("\tExercise Started: A (3s)").size(), 1);
    EXPECT_EQ(view.remainingTime(), 2);
}

TEST_F(Exercises, BadFilesLoadNothingAndPackagedOnesAreFound)
{
    documents.write("Exercises/broken.json", R"({"exercises":[{"name":"A","duration":"3","imageName":"a"}]})");
    ExerciseView broken(controller, session, haptics, "broken.json");
    broken.appeared();
    EXPECT_FALSE(broken.loaded());
    ExerciseView packaged(controller, session, haptics, "warmup");
    packaged.appeared();
    EXPECT_EQ(packaged.exerciseName(), "Arm circles") << "found in the package as warmup.json";
}
