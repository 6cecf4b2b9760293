#include "model/ProtocolReader.h"
#include "support/ConsoleCapture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

ProtocolReader::Result decode(const char *json)
{
    return ProtocolReader::decode(QByteArray(json));
}

std::unique_ptr<::Run> decoded(const char *json)
{
    ProtocolReader::Result result = decode(json);
    EXPECT_TRUE(result.run) << (result.error ? result.error->description().toStdString() : "");
    return std::move(result.run);
}

DecodingError failure(const char *json)
{
    ProtocolReader::Result result = decode(json);
    EXPECT_FALSE(result.run);
    return result.error.value_or(DecodingError{});
}

QByteArray legacyFile()
{
    QFile file(QStringLiteral(TAVOREN_TEST_DATA "/legacy_dutch.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

TEST(LegacyProtocols, DutchKeysGiveTheirValues)
{
    ConsoleCapture console;
    const ProtocolReader::Result result = ProtocolReader::decode(legacyFile());
    ASSERT_TRUE(result.run);
    const ::Run &run = *result.run;
    EXPECT_EQ(run.version(), "0.9");
    EXPECT_EQ(run.researchName(), "Oud onderzoek");
    EXPECT_EQ(run.VeskPauseLabel(), 999);
    EXPECT_EQ(run.IDlist().value("reken"), 20);
    EXPECT_TRUE(run.usesDrone());
    ASSERT_EQ(run.steps().size(), 2);

    const DeelTestje &rest = run.steps().at(0);
    EXPECT_EQ(rest.id, QUuid::fromString(QStringLiteral("6f1c2a4e-9b1d-4c55-a0c3-1f2e3d4c5b6a")));
    EXPECT_EQ(rest.numID, 10);
    EXPECT_EQ(rest.name, "Rust");
    EXPECT_EQ(rest.description, "Zit stil en adem rustig.");
    EXPECT_EQ(rest.duration, 120);
    EXPECT_EQ(rest.labelID, "rust");
    EXPECT_EQ(rest.autoContinue, true);
    EXPECT_EQ(rest.aloud_silent, false);
    EXPECT_EQ(rest.read_noread, true);
    ASSERT_TRUE(rest.drone);
    EXPECT_EQ(*rest.drone, (QList<DroneSettings>{{"timer", std::nullopt}}));

    ASSERT_TRUE(rest.optionalViews);
    ASSERT_EQ(rest.optionalViews->size(), 2);
    EXPECT_EQ(rest.optionalViews->at(0).Parameters,
              (QList<std::optional<QString>>{"https://example.org/clip.mp4", "yes", "no", "no"}));
    EXPECT_EQ(rest.optionalViews->at(1).Parameters, (QList<std::optional<QString>>{"Even rusten"}));

    const DeelTestje &sums = run.steps().at(1);
    EXPECT_EQ(sums.numID, 20);
    EXPECT_FALSE(sums.autoContinue);
    EXPECT_FALSE(sums.drone);
    EXPECT_FALSE(sums.optionalViews);
    EXPECT_TRUE(console.contains("inside required init (decoder) - reached the end"));
}

TEST(LegacyProtocols, EnglishKeyWinsOverLegacyKey)
{
    auto run = decoded(R"({"version":"1","VeskPauseLabel":1,"researchName":"new","Onderzoeksnaam":"old",
        "steps":[{"numID":3,"VeskLabel":4,"name":"n","TestNaam":"t","duration":5,"TestDuur":6,
                  "labelID":"l","Label":"L","autoContinue":false,"AutoContinue":true}],
        "data":[{"TestNaam":"ignored"},{"TestNaam":"ignored too"}]})");
    EXPECT_EQ(run->researchName(), "new");
    ASSERT_EQ(run->steps().size(), 1);
    const DeelTestje &step = run->steps().at(0);
    EXPECT_EQ(step.numID, 3);
    EXPECT_EQ(step.name, "n");
    EXPECT_EQ(step.duration, 5);
    EXPECT_EQ(step.labelID, "l");
    EXPECT_EQ(step.autoContinue, false);
}

TEST(LegacyProtocols, StepsAgainstDataFallback)
{
    EXPECT_TRUE(decoded(R"({"version":"1","VeskPauseLabel":1,"steps":[],"data":[{"TestNaam":"x"}]})")->steps().isEmpty());
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1,"steps":null,"data":[{"TestNaam":"x"}]})")->steps().size(), 1);
    // A broken step inside "data" only empties the list; inside "steps" it fails the document.
    EXPECT_TRUE(decoded(R"({"version":"1","VeskPauseLabel":1,"data":[{"TestNaam":"x"},{"numID":"7"}]})")->steps().isEmpty());
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[{"numID":"7"}]})").kind,
              DecodingError::Kind::TypeMismatch);
    EXPECT_TRUE(decoded(R"({"version":"1","VeskPauseLabel":1,"data":"not a list"})")->steps().isEmpty());
}

TEST(LegacyProtocols, ResearchNameAlternativesAndDefault)
{
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1})")->researchName(), "aap");
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1,"onderzoeksnaam":"klein"})")->researchName(), "klein");
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1,"researchName":null,"Onderzoeksnaam":"groot"})")
                  ->researchName(),
              "groot");
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"Onderzoeksnaam":5})").kind,
              DecodingError::Kind::TypeMismatch);
}

TEST(StrictAndLenient, RequiredFieldsFailTheDocument)
{
    const DecodingError missing = failure(R"({"VeskPauseLabel":1})");
    EXPECT_EQ(missing.kind, DecodingError::Kind::KeyNotFound);
    EXPECT_EQ(missing.key, "version");
    EXPECT_EQ(failure(R"({"version":null,"VeskPauseLabel":1})").kind, DecodingError::Kind::ValueNotFound);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":"1000"})").kind, DecodingError::Kind::TypeMismatch);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1.5})").kind, DecodingError::Kind::DataCorrupted);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[{"optionalViews":[{"Parameters":[]}]}]})").key,
              "ViewName");
    // A drone list is lenient: an entry without "ActionType" only drops the list.
    EXPECT_FALSE(decoded(R"({"version":"1","VeskPauseLabel":1,"steps":[{"drone":[{"Parameters":"x"}]}]})")
                     ->steps().at(0).drone);
}

TEST(StrictAndLenient, NotADocumentAtAll)
{
    EXPECT_EQ(failure("{ not json").kind, DecodingError::Kind::DataCorrupted);
    EXPECT_EQ(failure("").kind, DecodingError::Kind::DataCorrupted);
    EXPECT_EQ(failure("[1,2]").kind, DecodingError::Kind::TypeMismatch);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[5]})").kind, DecodingError::Kind::TypeMismatch);
}

TEST(StrictAndLenient, WrongTypesOnStrictKeysFailOnLenientKeysFallThrough)
{
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[{"numID":"3"}]})").kind,
              DecodingError::Kind::TypeMismatch);
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1,"steps":[{"VeskLabel":"3"}]})")->steps().at(0).numID, 0);
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1,"steps":[{"TestDuur":true}]})")->steps().at(0).duration, 0);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[{"AutoContinue":"yes"}]})").kind,
              DecodingError::Kind::TypeMismatch);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[{"id":"not-a-uuid"}]})").kind,
              DecodingError::Kind::DataCorrupted);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"researchDescription":7})").kind,
              DecodingError::Kind::TypeMismatch);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":1,"steps":[{"optionalViews":{}}]})").kind,
              DecodingError::Kind::TypeMismatch);
}

TEST(StrictAndLenient, LenientTopLevelDefaults)
{
    EXPECT_TRUE(decoded(R"({"version":"1","VeskPauseLabel":1})")->usesDrone());
    EXPECT_TRUE(decoded(R"({"version":"1","VeskPauseLabel":1,"usesDrone":"false"})")->usesDrone());
    EXPECT_FALSE(decoded(R"({"version":"1","VeskPauseLabel":1,"usesDrone":false})")->usesDrone());
    EXPECT_TRUE(decoded(R"({"version":"1","VeskPauseLabel":1,"IDlist":{"a":1,"b":"2"}})")->IDlist().isEmpty());
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":1,"IDlist":{"a":1,"b":2}})")->IDlist().size(), 2);
}

TEST(StrictAndLenient, IntegersMustBeWholeAndFit)
{
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":-9223372036854775808})")->VeskPauseLabel(),
              std::numeric_limits<qint64>::min());
    EXPECT_EQ(decoded(R"({"version":"1","VeskPauseLabel":2.0})")->VeskPauseLabel(), 2);
    EXPECT_EQ(failure(R"({"version":"1","VeskPauseLabel":9223372036854775808})").kind,
              DecodingError::Kind::DataCorrupted);
}

TEST(StrictAndLenient, MissingIdGivesAFreshIdentityEachRead)
{
    const char *json = R"({"version":"1","VeskPauseLabel":1,"steps":[{"name":"a"}]})";
    const QUuid first = decoded(json)->steps().at(0).id;
    const QUuid second = decoded(json)->steps().at(0).id;
    EXPECT_FALSE(first.isNull());
    EXPECT_NE(first, second);
}

TEST(OptionalViewParameters, ListAndOlderSingleStringForms)
{
    auto run = decoded(R"J({"version":"1","VeskPauseLabel":1,"steps":[{"optionalViews":[
        {"ViewName":"Video (drone side)","Parameters":"clip.mp4 yes"},
        {"ViewName":"Video (drone side)","Parameters":""},
        {"ViewName":"Video (drone side)","Parameters":"a  b c d e"},
        {"ViewName":"Text (drone side)","Parameters":"hello there"},
        {"ViewName":"Text (drone side)"},
        {"ViewName":"Text (drone side)","Parameters":null},
        {"ViewName":"Text (drone side)","Parameters":["x",null,"z"]},
        {"ViewName":"Text (drone side)","Parameters":[1]},
        {"ViewName":"Text (drone side)","Parameters":7}]}]})J");
    using P = QList<std::optional<QString>>;
    const QList<OptionalViewSettings> views = run->steps().at(0).views();
    ASSERT_EQ(views.size(), 9);
    EXPECT_EQ(views[0].Parameters, (P{"clip.mp4", "yes", "no", "no"}));
    EXPECT_EQ(views[1].Parameters, (P{"", "no", "no", "no"}));
    EXPECT_EQ(views[2].Parameters, (P{"a", "", "b", "c"}));
    EXPECT_EQ(views[3].Parameters, (P{"hello there"}));
    EXPECT_EQ(views[4].Parameters, P{});
    EXPECT_EQ(views[5].Parameters, P{});
    EXPECT_EQ(views[6].Parameters, (P{"x", std::nullopt, "z"}));
    EXPECT_EQ(views[7].Parameters, P{});
    EXPECT_EQ(views[8].Parameters, P{});
}

TEST(OptionalViewParameters, DroneAlternatives)
{
    auto run = decoded(R"({"version":"1","VeskPauseLabel":1,"steps":[
        {"drone":[{"ActionType":"a","Parameters":"p"}]},
        {"drone":"bad","Drone":[{"ActionType":"b"}]},
        {"Drone":"c"},
        {"Drone":5}]})");
    const QList<DeelTestje> &steps = run->steps();
    EXPECT_EQ(*steps[0].drone, (QList<DroneSettings>{{"a", QString("p")}}));
    EXPECT_EQ(*steps[1].drone, (QList<DroneSettings>{{"b", std::nullopt}}));
    EXPECT_EQ(*steps[2].drone, (QList<DroneSettings>{{"c", std::nullopt}}));
    EXPECT_FALSE(steps[3].drone);
}
