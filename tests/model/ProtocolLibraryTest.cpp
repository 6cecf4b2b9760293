#include "model/BundleDecodable.h"
#include "model/ProtocolLibrary.h"
#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class ProtocolLibraryTest : public ::testing::Test
{
protected:
    static QString path(const QString &file) { return QStringLiteral("Research_protocols/") + file; }
    void addProtocol(const QString &file, const QString &name) { documents.write(path(file), TestProtocol{name, "1.0"}.json()); }
    QString nameIn(const QString &file) { return library.loadProtocol(file).run->researchName(); }
    // The list in name order; the folder gives it in its own.
    QStringList listed() const
    {
        QStringList files = library.configFiles();
        files.sort();
        return files;
    }

    TemporaryDocuments documents;
    CurrentProtocol current;
    ProtocolLibrary library{current};
    ConsoleCapture console;
};

} // namespace

TEST_F(ProtocolLibraryTest, ListsLoadsAndCopiesOnlyJsonFilesInTheFolder)
{
    library.listProtocols();
    EXPECT_TRUE(library.configFiles().isEmpty()) << "no folder yet";
    addProtocol("a.json", "Good");
    documents.write(path("b.JSON"), "{}");
    documents.write(path("c.txt"), "x");
    documents.write(path("bad.json"), R"({"version":"1"})");
    QDir().mkpath(documents.filePath(path("d.json")));
    library.listProtocols();
    EXPECT_EQ(listed(), QStringList({"a.json", "bad.json"}));

    EXPECT_EQ(nameIn("a.json"), "Good");
    const auto bad = library.loadProtocol("bad.json");
    EXPECT_FALSE(bad.run);
    EXPECT_EQ(bad.error->key, "VeskPauseLabel");
    EXPECT_FALSE(library.loadProtocol("missing.json").run);
    EXPECT_FALSE(library.loadProtocol("../Research_protocols/a.json").run);

    // Copies take the next free name and never overwrite; a file that does not load is not copied.
    addProtocol("a_copy.json", "Someone else's work"); // not listed: the list is not read again
    library.duplicateProtocol("a.json");
    library.duplicateProtocol("a.json");
    library.duplicateProtocol("bad.json");
    EXPECT_EQ(listed(), (QStringList{"a.json", "a_copy2.json", "a_copy3.json", "bad.json"}));
    EXPECT_EQ(nameIn("a_copy.json"), "Someone else's work");
    EXPECT_EQ(nameIn("a_copy2.json"), "Good (copy)");
    EXPECT_EQ(nameIn("a_copy3.json"), "Good (copy)");
}

TEST_F(ProtocolLibraryTest, SaveNamesTheFileAndRemovesTheOriginal)
{
    library.setSelectedFileName("x.json");
    library.createNewProtocol();
    EXPECT_EQ(library.selectedFileName(), "");
    EXPECT_FALSE(documents.exists("Research_protocols")) << "nothing is written before a save";
    EXPECT_EQ(library.saveProtocol(std::nullopt), QString("New_research_1.0.json"));
    EXPECT_EQ(library.saveProtocol(QString("New_research_1.0.json")), QString("New_research_1.0.json"));
    EXPECT_TRUE(documents.exists(path("New_research_1.0.json")));

    addProtocol("A_1.0.json", "A");
    current.currentProtocol()->copyFrom(*library.loadProtocol("A_1.0.json").run);
    current.currentProtocol()->setResearchName("C");
    EXPECT_EQ(library.saveProtocol(QString("A_1.0.json")), QString("C_1.0.json"));
    EXPECT_FALSE(documents.exists(path("A_1.0.json")));
    EXPECT_EQ(nameIn("C_1.0.json"), "C");
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
        EXPECT_TRUE(documents.exists(path(*saved))) << saved->toStdString();
    }
    run->setResearchName("x");
    run->setVersion("1/../../../y");
    EXPECT_EQ(library.saveProtocol(std::nullopt), QString("x_1_.._.._.._y.json"));
    EXPECT_EQ(QDir(documents.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Research_protocols"});
}

TEST_F(ProtocolLibraryTest, DeletingKeepsOrClearsTheSelectionAndReportsEachCase)
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
    library.deleteProtocol("gone.json");
    EXPECT_TRUE(console.anyStartsWith("Error deleting protocol: "));

    // The editor's deletion.
    addProtocol("a.json", "a");
    addProtocol("b.json", "b");
    library.deleteProtocolFile(std::nullopt);
    library.deleteProtocolFile(QString("missing.json"));
    library.deleteProtocolFile(QString("a.json"));
    EXPECT_EQ(QDir(documents.filePath("Research_protocols")).entryList(QDir::Files), QStringList{"b.json"});
}

TEST_F(ProtocolLibraryTest, DefaultProtocolFromDocumentsThenResources)
{
    auto bundled = BundleDecodable::loadDefaultProtocol();
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<::Run>>(bundled)) << std::get<QString>(bundled).toStdString();
    EXPECT_EQ(current.currentProtocol()->researchName(), "Mini protocol");
    addProtocol("mini.json", "Local mini");
    EXPECT_EQ(std::get<std::unique_ptr<::Run>>(BundleDecodable::loadDefaultProtocol())->researchName(), "Local mini");

    // A broken one gives one message that names the file and, where one is missing, the key.
    documents.write(path("mini.json"), R"({"VeskPauseLabel":1})");
    EXPECT_EQ(std::get<QString>(BundleDecodable::loadDefaultProtocol()),
              "Failed to decode " + path("mini.json") + " from bundle due missing key version");
    documents.write(path("mini.json"), "nonsense");
    EXPECT_TRUE(std::get<QString>(BundleDecodable::loadDefaultProtocol()).startsWith("Failed to decode " + path("mini.json")));
}
