#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"

#include <QFile>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> keysOf(const Json &object)
{
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

Json written(const ::Run &run)
{
    return Json::parse(ProtocolWriter::encode(run).toStdString());
}

DeelTestje fullStep()
{
    DeelTestje step;
    step.id = QUuid::fromString(QStringLiteral("{0ebaef98-3cad-568b-8ccc-3b257f7418d4}"));
    step.numID = 4;
    step.name = QStringLiteral("Rest");
    step.description = QStringLiteral("Sit still");
    step.duration = 60;
    step.autoContinue = false;
    step.drone = QList<DroneSettings>{{"timer", QString("60")}, {"black", std::nullopt}};
    step.aloud_silent = true;
    step.read_noread = false;
    step.labelID = QStringLiteral("rest");
    step.optionalViews = QList<OptionalViewSettings>{{"Text (drone side)", {QString("hi"), std::nullopt}}};
    return step;
}

} // namespace

TEST(ProtocolWriter, KeysInDocumentedOrder)
{
    ::Run run;
    run.setVersion("2.1");
    run.setResearchName("Study");
    run.setVeskPauseLabel(1000);
    run.setResearchDescription(QString("About"));
    run.setIDlist({{"rest", 4}});
    run.setSteps({fullStep()});
    const QByteArray bytes = ProtocolWriter::encode(run);
    EXPECT_FALSE(bytes.contains('\n')) << "compact output";

    const Json root = Json::parse(bytes.toStdString());
    EXPECT_EQ(keysOf(root), (std::vector<std::string>{"version", "steps", "researchName", "VeskPauseLabel",
                                                      "researchDescription", "IDlist", "usesDrone"}));
    const Json &step = root["steps"][0];
    EXPECT_EQ(keysOf(step), (std::vector<std::string>{"id", "numID", "name", "description", "duration",
                                                      "autoContinue", "drone", "aloud_silent", "read_noread",
                                                      "labelID", "optionalViews"}));
    EXPECT_EQ(step["id"], "0EBAEF98-3CAD-568B-8CCC-3B257F7418D4");
    EXPECT_EQ(keysOf(step["drone"][0]), (std::vector<std::string>{"ActionType", "Parameters"}));
    EXPECT_EQ(keysOf(step["drone"][1]), (std::vector<std::string>{"ActionType"}));
    EXPECT_EQ(step["optionalViews"][0].dump(), R"J({"ViewName":"Text (drone side)","Parameters":["hi",null]})J");
    EXPECT_EQ(root["IDlist"]["rest"], 4);
}

TEST(ProtocolWriter, AbsentFieldsAreOmittedNeverNull)
{
    ::Run run;
    run.setVersion("1");
    DeelTestje bare;
    bare.name = QStringLiteral("bare");
    run.setSteps({bare});
    const Json root = written(run);
    EXPECT_FALSE(root.contains("researchDescription"));
    EXPECT_EQ(keysOf(root["steps"][0]),
              (std::vector<std::string>{"id", "numID", "name", "description", "duration", "labelID"}));
    EXPECT_EQ(root["researchName"], "");
}

TEST(ProtocolWriter, LegacyFileSavesWithEnglishKeysOnly)
{
    QFile file(QStringLiteral(TAVOREN_TEST_DATA "/legacy_dutch.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto original = ProtocolReader::decode(file.readAll());
    ASSERT_TRUE(original.run);
    const QByteArray bytes = ProtocolWriter::encode(*original.run);
    for (const char *legacy : {"Onderzoeksnaam", "\"data\"", "TestNaam", "TestInstructie", "TestDuur", "VeskLabel",
                               "\"Label\"", "AutoContinue", "\"Drone\"", "Aloud_silent", "Read_noread",
                               "OptionalViews"})
        EXPECT_FALSE(bytes.contains(legacy)) << legacy;

    const auto again = ProtocolReader::decode(bytes);
    ASSERT_TRUE(again.run);
    EXPECT_TRUE(again.run->sameContent(*original.run));
}

TEST(ProtocolWriter, RoundTripKeepsEveryValue)
{
    ::Run run;
    run.setVersion("3");
    run.setResearchName("Ünïcode \"quoted\" / name");
    run.setVeskPauseLabel(-5);
    run.setUsesDrone(false);
    run.setIDlist({{"a", 1}, {"b", 9000000000}});
    DeelTestje second = fullStep();
    second.id = QUuid::createUuid();
    second.optionalViews = QList<OptionalViewSettings>{};
    run.setSteps({fullStep(), second});

    const auto decoded = ProtocolReader::decode(ProtocolWriter::encode(run));
    ASSERT_TRUE(decoded.run);
    EXPECT_TRUE(decoded.run->sameContent(run));
    EXPECT_TRUE(decoded.run->steps().at(1).optionalViews.has_value()) << "an empty list stays a list";
}

TEST(ProtocolWriter, DescriptionAbsentStaysAbsentEmptyStaysEmpty)
{
    for (const std::optional<QString> &description : {std::optional<QString>(), std::optional<QString>(QString(""))}) {
        ::Run run;
        run.setVersion("1");
        run.setResearchDescription(description);
        const auto decoded = ProtocolReader::decode(ProtocolWriter::encode(run));
        ASSERT_TRUE(decoded.run);
        EXPECT_EQ(decoded.run->researchDescription(), description);
    }
}
