#include "support/TemporaryDocuments.h"
#include "web/WebStateMessage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

TEST(WebStateMessage, StateKeepsItsTextAndNumberAndCarriesWhatTheDroneMakesOfIt)
{
    TemporaryDocuments documents;
    documents.write("clip one.mp4", "not really a video");
    documents.write("two.txt", "images/sun.png\nmoon.png\n");
    const std::pair<QString, QJsonObject> cases[] = {
        {"timer: 59", {{"kind", "timer"}, {"text", ""}, {"seconds", 59}}},
        {"timer: soon", {{"kind", "unknown"}, {"text", ""}}},
        {"fall", {{"kind", "fall"}, {"text", ""}, {"seconds", 50}}},
        {"text: a|b", {{"kind", "text"}, {"text", "a|b"}}},
        {"exercise: Squats - 30s", {{"kind", "exercise"}, {"text", "Squats"}, {"seconds", 30}}},
        {"breathing: 4, 0, 6, 0", {{"kind", "breathing"}, {"text", ""}, {"breathing", QJsonArray{4, 0, 6, 0}}}},
        {"slider: Calm?", {{"kind", "slider"}, {"text", "Calm?"}, {"minimum", 0}, {"maximum", 10}, {"start", 5}}},
        {"images: two.txt",
         {{"kind", "images"}, {"text", "two.txt"}, {"images", QJsonArray{"/media/images/sun.png"}},
          {"problem", "Missing images: moon.png"}}},
        {"video: clip one.mp4, true, false, true",
         {{"kind", "video"}, {"text", "clip one.mp4"}, {"source", "/media/clip%20one.mp4"}, {"problem", ""},
          {"controls", false}, {"autoStart", true}, {"continueAfter", true}}},
        {"video: ../etc/passwd, false, true, false",
         {{"kind", "video"}, {"text", "../etc/passwd"}, {"source", ""}, {"problem", "Video not found: ../etc/passwd"},
          {"controls", true}, {"autoStart", true}, {"continueAfter", false}}},
    };
    for (const auto &[payload, view] : cases) {
        const QString message = "@State: seq:12|" + payload;
        const QJsonObject frame = QJsonDocument::fromJson(WebStateMessage::frame(message)).object();
        EXPECT_EQ(frame, (QJsonObject{{"message", message}, {"sequence", 12}, {"view", view}}))
            << QJsonDocument(frame).toJson().toStdString();
    }
    EXPECT_EQ(WebStateMessage::frame("Hello"), R"({"message":"Hello"})") << "not a state: the text alone";
}
