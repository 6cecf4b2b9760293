#include "drone/DronePayload.h"

#include "support/QtPrinting.h"

#include <gtest/gtest.h>

using Kind = DronePayload::Kind;

TEST(DronePayload, WellFormedPayloadsAreReadExactly)
{
    // Payload, kind, text, seconds.
    const std::tuple<const char *, Kind, QString, std::optional<qint64>> readings[] = {
        {"black", Kind::black, {}, {}},
        {"pause", Kind::pause, {}, {}},
        {"resume", Kind::resume, {}, {}},
        {"done", Kind::done, {}, {}},
        {"fall", Kind::fall, {}, {}},
        {"breathing: 4, 2, 6, 1", Kind::breathing, {}, {}},
        {"exercises completed", Kind::exercisesCompleted, {}, {}},
        {"timer: 59", Kind::timer, {}, 59},
        {"timer: -3", Kind::timer, {}, -3}, // the controller may send 0 or less
        {"climbing: 120", Kind::climbing, {}, 120},
        {"text: one | two\nthree: four", Kind::text, "one | two\nthree: four", {}},
        {"text: ", Kind::text, "", {}},
        {"images: sets/faces.txt", Kind::images, "sets/faces.txt", {}},
        {"slider: ", Kind::slider, "", {}},
        {"exercise: Squats - 30s", Kind::exercise, "Squats", 30},
        {"exercise: Squats", Kind::exercise, "Squats", {}},
        {"exercise: Push - ups - 0s", Kind::exercise, "Push - ups", 0}, // only the last " - Ns" is the time
        {"exercise: Jumps - 5 s", Kind::exercise, "Jumps - 5 s", {}},
        {"video: a, b.mp4, true, false, true", Kind::video, "a, b.mp4", {}}, // a link may hold the separator
        {"video:  , false, false, false", Kind::video, " ", {}},             // the view's default link
    };
    for (const auto &[text, kind, words, seconds] : readings) {
        const DronePayload payload = DronePayload::parse(text);
        EXPECT_EQ(payload.kind, kind) << text;
        EXPECT_EQ(payload.text, words) << text;
        EXPECT_EQ(payload.seconds, seconds) << text;
    }
}

TEST(DronePayload, MalformedPayloadsAreUnknown)
{
    for (const char *malformed :
         {"Black", "done ", "", "timer: ", "timer: 1.5", "timer: +5", "timer: 5s", "timer:5", "timer:  5",
          "climbing: ten", "timer: 99999999999999999999", "breathing: 2.5, 0.0, 2.5",
          "breathing: 2.5, 0.0, 2.5, 0.0, 1.0", "breathing: 0.0, 0.0, 0.0, 0.0", "breathing: -2.5, 0.0, 2.5, 0.0",
          "breathing: slow", "breathing: inf, 0.0, 2.5, 0.0", "breathing: nan, 1, 1, 1", "video: clip.mp4",
          "video: clip.mp4, true, false", "video: clip.mp4, yes, no, yes", "video: clip.mp4, True, false, false",
          "video: true, false, false"})
        EXPECT_EQ(DronePayload::parse(malformed).kind, Kind::unknown) << malformed;
}
