#include "model/ProtocolReader.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = DecodingError::Kind;
using Probe = std::function<QString(const ::Run &)>;

// A text beginning with a quote is the rest of a document that already has
// its two required keys.
ProtocolReader::Result decode(const char *json)
{
    const QByteArray text(json);
    return ProtocolReader::decode(text.startsWith('"') ? R"({"version":"1","VeskPauseLabel":1,)" + text + "}" : text);
}

std::unique_ptr<::Run> decoded(const char *json)
{
    ProtocolReader::Result result = decode(json);
    EXPECT_TRUE(result.run) << json << ": " << (result.error ? result.error->description().toStdString() : "");
    return std::move(result.run);
}

const Probe name = [](const ::Run &r) { return r.researchName(); };
const Probe stepCount = [](const ::Run &r) { return QString::number(r.steps().size()); };
const Probe usesDrone = [](const ::Run &r) { return QString::number(r.usesDrone()); };
const Probe idCount = [](const ::Run &r) { return QString::number(r.IDlist().size()); };
const Probe pauseLabel = [](const ::Run &r) { return QString::number(r.VeskPauseLabel()); };
const Probe firstStep = [](const ::Run &r) {
    const DeelTestje &s = r.steps().at(0);
    return QString("%1 %2 %3 %4 %5 %6").arg(s.numID).arg(s.name).arg(s.duration)
        .arg(s.labelID, s.autoContinue ? QString::number(*s.autoContinue) : "-", s.drone ? "drone" : "-");
};
// The first step's views' parameters, "," between parameters and "|" between views.
const Probe views = [](const ::Run &r) {
    QStringList out;
    for (const OptionalViewSettings &view : r.steps().at(0).views()) {
        QStringList parameters;
        for (const std::optional<QString> &parameter : view.Parameters)
            parameters << parameter.value_or("null");
        out << parameters.join(',');
    }
    return out.join('|');
};
// Each step's drone actions, "none" where the list is absent.
const Probe drones = [](const ::Run &r) {
    QStringList out;
    for (const DeelTestje &step : r.steps()) {
        QStringList actions;
        for (const DroneSettings &drone : step.drone.value_or(QList<DroneSettings>{}))
            actions << drone.ActionType + (drone.Parameters ? ":" + *drone.Parameters : "");
        out << (step.drone ? actions.join(',') : "none");
    }
    return out.join('|');
};

} // namespace

TEST(ProtocolReading, LenientKeysFallBackStrictOnesDecide)
{
    const struct
    {
        const char *json;
        Probe probe;
        QString expected;
    } cases[] = {
        // English keys win over the legacy Dutch ones; "steps" over "data".
        {R"("researchName":"new","Onderzoeksnaam":"old","steps":[{"numID":3,"VeskLabel":4,"name":"n","TestNaam":"t",
            "duration":5,"TestDuur":6,"labelID":"l","Label":"L","autoContinue":false,"AutoContinue":true}],
            "data":[{"TestNaam":"x"},{"TestNaam":"y"}])", firstStep, "3 n 5 l 0 -"},
        {R"("steps":[],"data":[{"TestNaam":"x"}])", stepCount, "0"},
        {R"("steps":null,"data":[{"TestNaam":"x"}])", stepCount, "1"},
        // A broken step inside "data" only empties the list; inside "steps" it fails the document.
        {R"("data":[{"TestNaam":"x"},{"numID":"7"}])", stepCount, "0"},
        {R"("data":"not a list")", stepCount, "0"},
        {R"({"version":"1","VeskPauseLabel":1})", name, "aap"},
        {R"({"version":"1","VeskPauseLabel":1})", usesDrone, "1"},
        {R"("onderzoeksnaam":"klein")", name, "klein"},
        {R"("researchName":null,"Onderzoeksnaam":"groot")", name, "groot"},
        // A drone list is lenient: an entry without "ActionType" only drops the list.
        {R"("steps":[{"drone":[{"Parameters":"x"}]}])", firstStep, "0  0  - -"},
        {R"("steps":[{"VeskLabel":"3","TestDuur":true}])", firstStep, "0  0  - -"},
        {R"("usesDrone":"false")", usesDrone, "1"},
        {R"("usesDrone":false)", usesDrone, "0"},
        {R"("IDlist":{"a":1,"b":"2"})", idCount, "0"},
        {R"("IDlist":{"a":1,"b":2})", idCount, "2"},
        // Integers must be whole and fit.
        {R"({"version":"1","VeskPauseLabel":-9223372036854775808})", pauseLabel, "-9223372036854775808"},
        {R"({"version":"1","VeskPauseLabel":2.0})", pauseLabel, "2"},
        // View parameters as a list, or in the older single-string forms.
        {R"J("steps":[{"optionalViews":[{"ViewName":"Video (drone side)","Parameters":"clip.mp4 yes"},
            {"ViewName":"Video (drone side)","Parameters":""}, {"ViewName":"Video (drone side)","Parameters":"a  b c d e"},
            {"ViewName":"Text (drone side)","Parameters":"hello there"}, {"ViewName":"Text (drone side)"},
            {"ViewName":"Text (drone side)","Parameters":null}, {"ViewName":"Text (drone side)","Parameters":["x",null,"z"]},
            {"ViewName":"Text (drone side)","Parameters":[1]}, {"ViewName":"Text (drone side)","Parameters":7}]}])J",
         views, "clip.mp4,yes,no,no|,no,no,no|a,,b,c|hello there|||x,null,z||"},
        {R"("steps":[{"drone":[{"ActionType":"a","Parameters":"p"}]}, {"drone":"bad","Drone":[{"ActionType":"b"}]},
            {"Drone":"c"}, {"Drone":5}])", drones, "a:p|b|c|none"},
    };
    for (const auto &c : cases)
        if (const auto run = decoded(c.json)) {
            EXPECT_EQ(c.probe(*run), c.expected) << c.json;
        }
}

TEST(ProtocolReading, FailuresNameTheirKind)
{
    const struct
    {
        const char *json;
        Kind kind;
        const char *key = "";
    } cases[] = {
        {"{ not json", Kind::DataCorrupted},
        {"", Kind::DataCorrupted},
        {"[1,2]", Kind::TypeMismatch},
        {R"({"VeskPauseLabel":1})", Kind::KeyNotFound, "version"},
        {R"({"version":null,"VeskPauseLabel":1})", Kind::ValueNotFound},
        {R"({"version":"1","VeskPauseLabel":"1000"})", Kind::TypeMismatch},
        {R"({"version":"1","VeskPauseLabel":1.5})", Kind::DataCorrupted},
        {R"({"version":"1","VeskPauseLabel":9223372036854775808})", Kind::DataCorrupted},
        {R"("steps":[{"optionalViews":[{"Parameters":[]}]}])", Kind::KeyNotFound, "ViewName"},
        {R"("steps":[5])", Kind::TypeMismatch},
        {R"("steps":[{"numID":"7"}])", Kind::TypeMismatch},
        {R"("steps":[{"AutoContinue":"yes"}])", Kind::TypeMismatch},
        {R"("steps":[{"id":"not-a-uuid"}])", Kind::DataCorrupted},
        {R"("steps":[{"optionalViews":{}}])", Kind::TypeMismatch},
        {R"("researchDescription":7)", Kind::TypeMismatch},
        {R"("Onderzoeksnaam":5)", Kind::TypeMismatch},
    };
    for (const auto &c : cases) {
        const ProtocolReader::Result result = decode(c.json);
        EXPECT_FALSE(result.run) << c.json;
        ASSERT_TRUE(result.error) << c.json;
        EXPECT_EQ(result.error->kind, c.kind) << c.json;
        if (*c.key) { EXPECT_EQ(result.error->key, c.key) << c.json; }
    }
}

TEST(ProtocolReading, MissingIdGivesAFreshIdentityEachRead)
{
    const char *json = R"("steps":[{"name":"a"}])";
    const QUuid first = decoded(json)->steps().at(0).id;
    EXPECT_FALSE(first.isNull());
    EXPECT_NE(first, decoded(json)->steps().at(0).id);
}
