#include "common/DocumentsFolder.h"
#include "model/BundleDecodable.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolWriter.h"
#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QByteArray protocolBytes(const QString &name, const QString &version = QStringLiteral("1.0"))
{
    ::Run run;
    run.setVersion(version);
    run.setResearchName(name);
    run.setVeskPauseLabel(1000);
    return ProtocolWriter::encode(run);
}

class ProtocolLibraryTest : public ::testing::Test
{
protected:
    QString protocolPath(const QString &file) const { return QStringLiteral("Research_protocols/") + file; }
    void addProtocol(const QString &file, const QString &name) { documents.write(protocolPath(file), protocolBytes(name)); }

    TemporaryDocuments documents;
    CurrentProtocol current;
    ProtocolLibrary library{current};
    ConsoleCapture console;
};

} // namespace

TEST_F(ProtocolLibraryTest, ListsOnlyJsonFilesNotFolders)
{
    addProtocol("a.json", "a");
    documents.write(protocolPath("b.JSON"), "{}");
    documents.write(protocolPath("c.txt"), "x");
    QDir().mkpath(documents.filePath(protocolPath("d.json")));
    library.listProtocols();
    EXPECT_EQ(library.configFiles(), QStringList{"a.json"});
}

TEST_F(ProtocolLibraryTest, ListingAMissingFolderGivesAnEmptyList)
{
    library.listProtocols();
    EXPECT_TRUE(library.configFiles().isEmpty());
}

TEST_F(ProtocolLibraryTest, LoadDecodesOrReportsOneError)
{
    addProtocol("good.json", "Good");
    documents.write(protocolPath("bad.json"), R"({"version":"1"})");
    ASSERT_TRUE(library.loadProtocol("good.json").run);
    EXPECT_EQ(library.loadProtocol("good.json").run->researchName(), "Good");
    const auto bad = library.loadProtocol("bad.json");
    EXPECT_FALSE(bad.run);
    EXPECT_EQ(bad.error->key, "VeskPauseLabel");
    EXPECT_FALSE(library.loadProtocol("missing.json").run);
    EXPECT_FALSE(library.loadProtocol("../Research_protocols/good.json").run);
}

TEST_F(ProtocolLibraryTest, DuplicateNamesCopiesInTurn)
{
    addProtocol("study.json", "Study");
    library.listProtocols();
    library.duplicateProtocol("study.json");
    library.duplicateProtocol("study.json");
    library.duplicateProtocol("study.json");
    EXPECT_EQ(library.configFiles(),
              (QStringList{"study.json", "study_copy.json", "study_copy2.json", "study_copy3.json"}));
    for (const char *copy : {"study_copy.json", "study_copy2.json", "study_copy3.json"}) {
        const auto run = library.loadProtocol(copy).run;
        ASSERT_TRUE(run) << copy;
        EXPECT_EQ(run->researchName(), "Study (copy)");
    }
}

TEST_F(ProtocolLibraryTest, DuplicateNeverOverwritesAFileTheListMissed)
{
    addProtocol("study.json", "Study");
    library.listProtocols();
    addProtocol("study_copy.json", "Someone else's work");
    library.duplicateProtocol("study.json");
    EXPECT_EQ(library.loadProtocol("study_copy.json").run->researchName(), "Someone else's work");
    EXPECT_TRUE(library.configFiles().contains("study_copy2.json"));
}

TEST_F(ProtocolLibraryTest, DuplicateOfABrokenFileChangesNothing)
{
    documents.write(protocolPath("broken.json"), "{");
    library.listProtocols();
    library.duplicateProtocol("broken.json");
    EXPECT_EQ(library.configFiles(), QStringList{"broken.json"});
    EXPECT_TRUE(console.anyStartsWith("Error duplicating protocol: "));
}

TEST_F(ProtocolLibraryTest, SaveUnderNewNameRemovesTheOriginal)
{
    addProtocol("A_1.0.json", "A");
    ::Run *run = current.currentProtocol();
    run->copyFrom(*library.loadProtocol("A_1.0.json").run);
    run->setResearchName("B");
    EXPECT_EQ(library.saveProtocol(QString("A_1.0.json")), QString("B_1.0.json"));
    EXPECT_FALSE(documents.exists(protocolPath("A_1.0.json")));
    EXPECT_EQ(library.loadProtocol("B_1.0.json").run->researchName(), "B");
    EXPECT_TRUE(console.contains("JSON correctly saved to: " + documents.filePath(protocolPath("B_1.0.json"))));
}

TEST_F(ProtocolLibraryTest, SaveNamesTheFileFromNameAndVersion)
{
    library.createNewProtocol();
    EXPECT_EQ(library.saveProtocol(std::nullopt), QString("New_research_1.0.json"));
    EXPECT_TRUE(documents.exists(protocolPath("New_research_1.0.json")));
    // Saving again under the same name keeps the file.
    EXPECT_EQ(library.saveProtocol(QString("New_research_1.0.json")), QString("New_research_1.0.json"));
    EXPECT_TRUE(documents.exists(protocolPath("New_research_1.0.json")));
}

TEST_F(ProtocolLibraryTest, FailedSaveKeepsTheOriginal)
{
    addProtocol("A_1.0.json", "A");
    // A folder in the way of the new name makes the write fail.
    QDir().mkpath(documents.filePath(protocolPath("B_1.0.json")));
    ::Run *run = current.currentProtocol();
    run->copyFrom(*library.loadProtocol("A_1.0.json").run);
    run->setResearchName("B");
    EXPECT_FALSE(library.saveProtocol(QString("A_1.0.json")));
    EXPECT_TRUE(library.loadProtocol("A_1.0.json").run);
    EXPECT_TRUE(console.anyStartsWith("Could not save json due to teh following error: "));
}

TEST_F(ProtocolLibraryTest, ResearchNamesCannotWriteOutsideTheFolder)
{
    ::Run *run = current.currentProtocol();
    ::Run::fillAsNewProtocol(*run);
    for (const QString name : {"../../escape", "/etc/passwd", "a\\..\\b", "..", "sub/dir"}) {
        run->setResearchName(name);
        const auto saved = library.saveProtocol(std::nullopt);
        ASSERT_TRUE(saved) << name.toStdString();
        EXPECT_FALSE(saved->contains('/'));
        EXPECT_TRUE(documents.exists(protocolPath(*saved))) << saved->toStdString();
    }
    run->setResearchName("x");
    run->setVersion("1/../../../y");
    const auto saved = library.saveProtocol(std::nullopt);
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, "x_1_.._.._.._y.json");
    const QStringList outside = QDir(documents.path()).entryList(QDir::Files);
    EXPECT_TRUE(outside.isEmpty()) << outside.join(",").toStdString();
}

TEST_F(ProtocolLibraryTest, DeleteTheSelectedProtocolClearsTheSelection)
{
    addProtocol("a.json", "a");
    addProtocol("b.json", "b");
    library.listProtocols();
    library.setSelectedFileName("a.json");
    QSignalSpy selection(&library, &ProtocolLibrary::selectedFileNameChanged);
    library.deleteProtocol("b.json");
    EXPECT_EQ(library.selectedFileName(), "a.json");
    library.deleteProtocol("a.json");
    EXPECT_EQ(library.selectedFileName(), "");
    EXPECT_EQ(selection.count(), 1);
    EXPECT_TRUE(library.configFiles().isEmpty());
    EXPECT_FALSE(documents.exists(protocolPath("a.json")));

    library.deleteProtocol("gone.json");
    EXPECT_TRUE(console.anyStartsWith("Error deleting protocol: "));
}

TEST_F(ProtocolLibraryTest, EditorDeleteReportsEachCase)
{
    addProtocol("a.json", "a");
    library.deleteProtocolFile(std::nullopt);
    library.deleteProtocolFile(QString("missing.json"));
    library.deleteProtocolFile(QString("a.json"));
    EXPECT_EQ(console.lines(), (QStringList{"❌ No original filename available for deletion - this is a new file",
                                            "⚠️ File does not exist: missing.json",
                                            "✅ Successfully deleted file: a.json"}));
    EXPECT_FALSE(documents.exists(protocolPath("a.json")));
}

TEST_F(ProtocolLibraryTest, NewProtocolDocument)
{
    library.setSelectedFileName("x.json");
    library.createNewProtocol();
    const ::Run &run = *current.currentProtocol();
    EXPECT_EQ(library.selectedFileName(), "");
    EXPECT_EQ(run.version(), "1.0");
    EXPECT_EQ(run.researchName(), "New research");
    EXPECT_EQ(run.VeskPauseLabel(), 1000);
    EXPECT_EQ(run.researchDescription(), QString("No description yet."));
    EXPECT_EQ(run.IDlist(), (QMap<QString, qint64>{{"intro", 0}}));
    EXPECT_FALSE(run.usesDrone());
    ASSERT_EQ(run.steps().size(), 1);
    const DeelTestje &step = run.steps().at(0);
    EXPECT_EQ(step.name, "Welcome");
    EXPECT_EQ(step.labelID, "intro");
    EXPECT_EQ(step.autoContinue, false);
    EXPECT_EQ(step.aloud_silent, false);
    EXPECT_EQ(step.read_noread, false);
    EXPECT_FALSE(step.drone);
    EXPECT_FALSE(step.optionalViews);
    EXPECT_TRUE(library.configFiles().isEmpty()) << "nothing is written before a save";
    EXPECT_FALSE(documents.exists("Research_protocols"));
}

TEST_F(ProtocolLibraryTest, DefaultProtocolFromDocumentsThenResources)
{
    auto bundled = BundleDecodable::loadDefaultProtocol();
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<::Run>>(bundled)) << std::get<QString>(bundled).toStdString();
    EXPECT_EQ(std::get<std::unique_ptr<::Run>>(bundled)->researchName(), "Mini protocol");
    EXPECT_EQ(current.currentProtocol()->researchName(), "Mini protocol");

    addProtocol("mini.json", "Local mini");
    auto local = BundleDecodable::loadDefaultProtocol();
    EXPECT_EQ(std::get<std::unique_ptr<::Run>>(local)->researchName(), "Local mini");
}

TEST_F(ProtocolLibraryTest, BrokenDefaultProtocolGivesOneMessage)
{
    const QString p = QStringLiteral("Research_protocols/mini.json");
    const auto message = [] { return std::get<QString>(BundleDecodable::loadDefaultProtocol()); };
    documents.write(p, R"({"VeskPauseLabel":1})");
    EXPECT_EQ(message(), "Failed to decode " + p + " from bundle due missing key version");
    documents.write(p, R"({"version":1,"VeskPauseLabel":1})");
    EXPECT_EQ(message(), "Failed to decode " + p + " from bundle due type mismatch Expected to decode String but "
                                                   "found a number instead.");
    documents.write(p, R"({"version":null,"VeskPauseLabel":1})");
    EXPECT_EQ(message(), "Failed to decode " + p + " from bundle due type String missing value");
    documents.write(p, "nonsense");
    EXPECT_TRUE(message().startsWith("Failed to decode " + p));
}
