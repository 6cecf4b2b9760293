#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"

#include <gtest/gtest.h>

namespace {

DeelTestje fullStep()
{
    DeelTestje step;
    step.id = QUuid::createUuid();
    step.numID = 4;
    step.name = QStringLiteral("Rest");
    step.description = QStringLiteral("Sit still");
    step.duration = 60;
    step.autoContinue = false;
    step.drone = QList<DroneSettings>{{"timer", QString("60")}, {"black", std::nullopt}};
    step.aloud_silent = true;
    step.labelID = QStringLiteral("rest");
    step.optionalViews = QList<OptionalViewSettings>{{"Text (drone side)", {QString("hi"), std::nullopt}}};
    return step;
}

} // namespace

TEST(ProtocolWriter, RoundTripKeepsEveryValue)
{
    // An absent description stays absent, an empty one empty; an empty view list stays a list.
    for (const std::optional<QString> &description : {std::optional<QString>(), std::optional<QString>(QString(""))}) {
        ::Run run;
        run.setVersion("3");
        run.setResearchName("Ünïcode \"quoted\" / name");
        run.setResearchDescription(description);
        run.setVeskPauseLabel(-5);
        run.setUsesDrone(false);
        run.setIDlist({{"a", 1}, {"b", 9000000000}});
        DeelTestje second = fullStep();
        second.optionalViews = QList<OptionalViewSettings>{};
        run.setSteps({fullStep(), second});

        const auto decoded = ProtocolReader::decode(ProtocolWriter::encode(run));
        ASSERT_TRUE(decoded.run);
        EXPECT_TRUE(decoded.run->sameContent(run));
        EXPECT_EQ(decoded.run->researchDescription(), description);
        EXPECT_TRUE(decoded.run->steps().at(1).optionalViews.has_value());
    }
}

// A legacy Dutch file comes out compact, with English keys in their order, every value, and absent fields left out.
TEST(Cli, ConvertWritesToStandardOutputOrAWholeFileAndListNamesTheProtocols)
{
    TemporaryDocuments folder;
    const QString legacy = QStringLiteral(TAVOREN_TEST_DATA "/legacy_dutch.json");
    const QByteArray english = R"J({"version":"0.9","steps":[{"id":"6F1C2A4E-9B1D-4C55-A0C3-1F2E3D4C5B6A","numID":10,"name":"Rust",)J"
        R"J("description":"Zit stil en adem rustig.","duration":120,"autoContinue":true,"drone":[{"ActionType":)J"
        R"J("timer"}],"aloud_silent":false,"read_noread":true,"labelID":"rust","optionalViews":[{"ViewName":)J"
        R"J("Video (drone side)","Parameters":["https://example.org/clip.mp4","yes","no","no"]},{"ViewName":)J"
        R"J("Text (drone side)","Parameters":["Even rusten"]}]},{"id":"0B5D3C1A-7E2F-4A69-8D40-2C1B0A9F8E7D",)J"
        R"J("numID":20,"name":"Rekenen","description":"Reken hardop.","duration":60,"labelID":"reken"}],)J"
        R"J("researchName":"Oud onderzoek","VeskPauseLabel":999,"IDlist":{"reken":20,"rust":10},"usesDrone":true})J";
    const ProgramRun printed = ProgramRun::cli({"convert", legacy});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out, english + "\n");

    folder.write("Research_protocols/two.txt", "{}");
    const ProgramRun written = ProgramRun::cli({"convert", legacy, folder.filePath("Research_protocols/converted.json")});
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.isEmpty());
    EXPECT_EQ(folder.read("Research_protocols/converted.json"), english);

    // A broken file: one line that names it and the missing key, and no output file.
    folder.write("broken.json", R"({"version":"1","steps":[]})");
    const ProgramRun broken = ProgramRun::cli({"convert", folder.filePath("broken.json"), folder.filePath("out.json")});
    EXPECT_EQ(broken.status, 2);
    EXPECT_TRUE(broken.out.isEmpty());
    EXPECT_EQ(broken.err.count('\n'), 1) << broken.err.toStdString();
    EXPECT_TRUE(broken.err.contains("broken.json") && broken.err.contains("VeskPauseLabel"));
    EXPECT_FALSE(folder.exists("out.json"));

    // "list" names the protocol files of a documents folder.
    const ProgramRun listed = ProgramRun::cli({"list", folder.path()});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "converted.json\n");
    EXPECT_NE(ProgramRun::cli({"list", folder.filePath("nowhere")}).status, 0);
    EXPECT_EQ(ProgramRun::cli({"frobnicate"}).status, 64);
}
