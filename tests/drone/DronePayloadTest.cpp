#include "drone/DronePayload.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

using Kind = DronePayload::Kind;

TEST(DronePayload, LiteralStatesAreReadExactly)
{
    EXPECT_EQ(DronePayload::parse("black").kind, Kind::black);
    EXPECT_EQ(DronePayload::parse("pause").kind, Kind::pause);
    EXPECT_EQ(DronePayload::parse("resume").kind, Kind::resume);
    EXPECT_EQ(DronePayload::parse("done").kind, Kind::done);
    EXPECT_EQ(DronePayload::parse("fall").kind, Kind::fall);
    EXPECT_EQ(DronePayload::parse("exercises completed").kind, Kind::exercisesCompleted);
    EXPECT_EQ(DronePayload::parse("Black").kind, Kind::unknown) << "payloads are case-sensitive";
    EXPECT_EQ(DronePayload::parse("done ").kind, Kind::unknown);
    EXPECT_EQ(DronePayload::parse("").kind, Kind::unknown);
}

TEST(DronePayload, CountdownsTakeWholeSecondsOnly)
{
    EXPECT_EQ(DronePayload::parse("timer: 59").seconds, 59);
    EXPECT_EQ(DronePayload::parse("timer: 59").kind, Kind::timer);
    EXPECT_EQ(DronePayload::parse("climbing: 120").kind, Kind::climbing);
    EXPECT_EQ(DronePayload::parse("climbing: 120").seconds, 120);
    EXPECT_EQ(DronePayload::parse("timer: -3").seconds, -3) << "the controller may send 0 or less";
    for (const char *malformed : {"timer: ", "timer: 1.5", "timer: +5", "timer: 5s", "timer:5", "timer:  5",
                                  "climbing: ten", "timer: 99999999999999999999"})
        EXPECT_EQ(DronePayload::parse(malformed).kind, Kind::unknown) << malformed;
}

TEST(DronePayload, TextsAreTakenAsTheyCome)
{
    const DronePayload text = DronePayload::parse("text: one | two\nthree: four");
    EXPECT_EQ(text.kind, Kind::text);
    EXPECT_EQ(text.text, "one | two\nthree: four");
    EXPECT_EQ(DronePayload::parse("text: ").text, "");
    EXPECT_EQ(DronePayload::parse("images: sets/faces.txt").text, "sets/faces.txt");
    EXPECT_EQ(DronePayload::parse("slider: ").kind, Kind::slider) << "a slider without a question";
    EXPECT_EQ(DronePayload::parse("slider: How calm are you?").text, "How calm are you?");
}

TEST(DronePayload, BreathingNeedsFourNumbersThatTakeTime)
{
    const DronePayload slow = DronePayload::parse("breathing: 3.75, 0.0, 3.75, 0.0");
    EXPECT_EQ(slow.kind, Kind::breathing);
    EXPECT_EQ(slow.breathingSeconds, (QList<double>{3.75, 0.0, 3.75, 0.0}));
    EXPECT_EQ(DronePayload::parse("breathing: 4, 2, 6, 1").breathingSeconds, (QList<double>{4, 2, 6, 1}));
    for (const char *malformed : {"breathing: 2.5, 0.0, 2.5", "breathing: 2.5, 0.0, 2.5, 0.0, 1.0",
                                  "breathing: 0.0, 0.0, 0.0, 0.0", "breathing: -2.5, 0.0, 2.5, 0.0",
                                  "breathing: slow", "breathing: inf, 0.0, 2.5, 0.0", "breathing: nan, 1, 1, 1"})
        EXPECT_EQ(DronePayload::parse(malformed).kind, Kind::unknown) << malformed;
}

TEST(DronePayload, VideoFlagsAreReadFromTheEnd)
{
    const DronePayload video = DronePayload::parse("video: clip.mp4, false, true, false");
    EXPECT_EQ(video.kind, Kind::video);
    EXPECT_EQ(video.text, "clip.mp4");
    EXPECT_FALSE(video.hideControls);
    EXPECT_TRUE(video.autoStart);
    EXPECT_FALSE(video.continueAfter);

    const DronePayload commas = DronePayload::parse("video: a, b.mp4, true, false, true");
    EXPECT_EQ(commas.text, "a, b.mp4") << "a link may hold the separator";
    EXPECT_TRUE(commas.hideControls);
    EXPECT_TRUE(commas.continueAfter);
    EXPECT_EQ(DronePayload::parse("video:  , false, false, false").text, " ") << "the view's default link";

    for (const char *malformed : {"video: clip.mp4", "video: clip.mp4, true, false", "video: clip.mp4, yes, no, yes",
                                  "video: clip.mp4, True, false, false", "video: true, false, false"})
        EXPECT_EQ(DronePayload::parse(malformed).kind, Kind::unknown) << malformed;
}

TEST(DronePayload, ExercisesWithAndWithoutSeconds)
{
    const DronePayload timed = DronePayload::parse("exercise: Squats - 30s");
    EXPECT_EQ(timed.kind, Kind::exercise);
    EXPECT_EQ(timed.text, "Squats");
    EXPECT_EQ(timed.seconds, 30);
    const DronePayload named = DronePayload::parse("exercise: Squats");
    EXPECT_EQ(named.text, "Squats");
    EXPECT_FALSE(named.seconds.has_value());
    const DronePayload dashed = DronePayload::parse("exercise: Push - ups - 0s");
    EXPECT_EQ(dashed.text, "Push - ups") << "only the last \" - Ns\" is the time";
    EXPECT_EQ(dashed.seconds, 0);
    EXPECT_EQ(DronePayload::parse("exercise: Jumps - 5 s").text, "Jumps - 5 s");
}
