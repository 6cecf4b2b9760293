#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"

#include <QFile>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

ProgramRun cli(const QStringList &args)
{
    return ProgramRun::of(QStringLiteral(TAVOREN_CLI), args);
}

QString legacyFile()
{
    return QStringLiteral(TAVOREN_TEST_DATA "/legacy_dutch.json");
}

} // namespace

TEST(Cli, ConvertTurnsALegacyFileIntoEnglishKeys)
{
    const ProgramRun result = cli({"convert", legacyFile()});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    const auto json = nlohmann::json::parse(result.out.toStdString());
    EXPECT_EQ(json["researchName"], "Oud onderzoek");
    EXPECT_EQ(json["steps"][0]["name"], "Rust");
    EXPECT_EQ(json["steps"][0]["duration"], 120);
    EXPECT_EQ(json["steps"][1]["labelID"], "reken");
    EXPECT_FALSE(json.contains("data"));
    EXPECT_FALSE(json["steps"][0].contains("TestNaam"));
}

TEST(Cli, ConvertWritesTheOutputFileWhole)
{
    TemporaryDocuments folder;
    const QString out = folder.filePath("converted.json");
    const ProgramRun result = cli({"convert", legacyFile(), out});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    const auto json = nlohmann::json::parse(folder.read("converted.json").toStdString());
    EXPECT_EQ(json["version"], "0.9");
}

TEST(Cli, ConvertRefusesABrokenFileWithOneLine)
{
    TemporaryDocuments folder;
    folder.write("broken.json", R"({"version":"1","steps":[]})");
    const QString out = folder.filePath("out.json");
    const ProgramRun result = cli({"convert", folder.filePath("broken.json"), out});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("broken.json"));
    EXPECT_TRUE(result.err.contains("VeskPauseLabel"));
    EXPECT_FALSE(folder.exists("out.json"));
}

TEST(Cli, ListPrintsTheProtocolFiles)
{
    TemporaryDocuments folder;
    folder.write("Research_protocols/one.json", "{}");
    folder.write("Research_protocols/two.txt", "{}");
    const ProgramRun result = cli({"list", folder.path()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "one.json\n");
    EXPECT_NE(cli({"list", folder.filePath("nowhere")}).status, 0);
    EXPECT_EQ(cli({"frobnicate"}).status, 64);
}
