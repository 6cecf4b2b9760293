#include "run/RunFixture.h"

#include "drone/DroneEndpoint.h"
#include "drone/DroneFixture.h"
#include "tasks/MathCalculationsView.h"
#include "tasks/QuestionnaireView.h"
#include "tasks/TaskFile.h"

namespace {

class TaskViews : public RunFixture
{
protected:
    TaskViews()
    {
        TaskFile::reset();
        useSteps({step(1, "task", 0)});
    }
    ~TaskViews() override { TaskFile::reset(); }

    DroneEndpoint drone{QStringLiteral("drone")};
};

} // namespace

TEST_F(TaskViews, ArithmeticScoresGoToTheirOwnFileAndProblemsToTheDrone)
{
    documents.write("Reken/three.txt", "12 + 5 =\n\n7 : 0 =");
    startAt("5");
    {
        MathCalculationsView alone(controller, session, "three.txt");
        alone.appeared();
        EXPECT_EQ(alone.currentCalculation(), "") << "without a drone no problem is taken";
        EXPECT_EQ(sent, QStringList{});
    }

    drone.start();
    discover(session);
    ASSERT_TRUE(waitFor([&] { return session.isConnected(); }));
    MathCalculationsView math(controller, session, "three.txt");
    math.appeared();
    EXPECT_EQ(math.currentCalculation(), "12 + 5 =");
    EXPECT_EQ(math.problemText(), "12 + 5 =17");
    EXPECT_EQ(sent.last(), "text: 12 + 5 =");
    clock->advanceMs(3250);
    math.scoreCorrect();
    EXPECT_EQ(documents.read("Label_files/Study/timelabelsPPID_5.lbl"), "05-12-26/10:00:03.250\t12 + 5 = Correct\n");
    EXPECT_EQ(math.currentCalculation(), "") << "an empty entry hides the row";
    EXPECT_FALSE(math.showsProblem());
    EXPECT_EQ(sent.last(), "text: ");

    controller.togglePause();
    sent.clear();
    math.scoreWrong();
    EXPECT_EQ(math.currentCalculation(), "7 : 0 =");
    EXPECT_EQ(math.problemText(), "7 : 0 =-999");
    EXPECT_TRUE(sent.isEmpty()) << "nothing is sent while paused";
    controller.togglePause();
    EXPECT_TRUE(sent.contains("text: 7 : 0 =")) << "resuming shows the problem again";
    math.scoreWrong();
    EXPECT_EQ(math.teller(), 3);
    EXPECT_EQ(math.currentCalculation(), "");
    EXPECT_EQ(documents.read("Label_files/Study/timelabelsPPID_5.lbl").count('\n'), 3);
}

TEST_F(TaskViews, QuestionnaireAsksTheLinesBeforeItsFilesLastLineFeedAndLogsEachAnswer)
{
    documents.write("Reken/abc.txt", "A\nB\nC\n");
    documents.write("Reken/ab.txt", "A\nB\nC");
    startAt();
    {
        QuestionnaireView questions(controller, session, "abc.txt");
        questions.appeared();
        EXPECT_EQ(sent.last(), "black");
        EXPECT_EQ(questions.currentQuestion(), "Ready?");
        questions.pressButton();
        questions.setSliderPosition(3.6);
        questions.pressButton();
        EXPECT_EQ(logLines().last(), "05-12-26/10:00:00.000\tA 4");
        EXPECT_EQ(questions.value(), 1) << "back to the lowest mark";
    }
    // The file, the questions asked after "Ready?", and the last answer logged.
    const std::tuple<QString, QStringList, QString> files[]{{"abc.txt", {"A", "B", "C"}, "C 1"},
                                                           {"ab.txt", {"A", "B"}, "B 1"}, // the last line is never asked
                                                           {"missing.txt", {}, "Ready? 1"}};
    for (const auto &[file, expected, lastAnswer] : files) {
        QuestionnaireView questions(controller, session, file);
        questions.appeared();
        QStringList asked;
        for (questions.pressButton(); questions.currentQuestion() != "All questions done. Restart?" && asked.size() < 5;
             questions.pressButton())
            asked.append(questions.currentQuestion());
        EXPECT_EQ(asked, expected) << file.toStdString();
        EXPECT_EQ(logLines().last(), "05-12-26/10:00:00.000\t" + lastAnswer) << file.toStdString();
        if (expected.isEmpty())
            continue; // the error entry alone: every press answers it
        const qsizetype logged = logLines().size();
        questions.pressButton();
        EXPECT_EQ(questions.currentQuestion(), "A");
        EXPECT_EQ(logLines().size(), logged) << "a restart writes nothing";
    }
}
