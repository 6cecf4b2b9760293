#include "editor/EditorFixture.h"
#include "model/ProtocolReader.h"

namespace {

using SaveAndLeave = EditorFixture;

} // namespace

TEST_F(SaveAndLeave, ChangesCountOnlyAfterTheInitialLoad)
{
    useSteps({step(1, "NewLabel", 0)});
    content.setIsTestEditing(true);
    // The placeholder label was replaced while opening: not a change.
    EXPECT_EQ(document().steps().at(0).labelID, "NEWLABEL");
    EXPECT_TRUE(editor.isInitialLoad());
    document().setResearchName("Opening");
    EXPECT_FALSE(editor.hasUnsavedChanges());
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor.isInitialLoad());
    editor.setResearchDescription("About");
    EXPECT_EQ(document().researchDescription(), "About");
    EXPECT_TRUE(editor.hasUnsavedChanges());

    content.setIsTestEditing(false);
    EXPECT_FALSE(editor.hasUnsavedChanges());
    // While closed, the start screen's loading of a protocol is no change.
    document().setResearchName("Other");
    EXPECT_FALSE(editor.hasUnsavedChanges());
}

TEST_F(SaveAndLeave, CancelLeavesAtOnceOrAsksFirst)
{
    open({step(1, "a", 0)});
    editor.cancel();
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_FALSE(editor.showUnsavedChangesAlert());

    open({step(1, "a", 0)});
    editor.step()->setName("Changed");
    editor.cancel();
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_TRUE(editor.showUnsavedChangesAlert());
    EXPECT_EQ(editor.pendingExitAction(), RunEditorViewModel::PendingExitAction::cancel);
    EXPECT_EQ(editor.unsavedChangesTitle(), "Unsaved changes");

    editor.answerCancel();
    EXPECT_FALSE(editor.showUnsavedChangesAlert());
    EXPECT_FALSE(editor.pendingExitAction());
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_TRUE(editor.hasUnsavedChanges());
    EXPECT_EQ(names(), QStringList{"Changed"});

    editor.cancel();
    editor.answerProceedWithoutSaving();
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_FALSE(editor.hasUnsavedChanges());
    EXPECT_TRUE(protocolFiles().isEmpty());
}

TEST_F(SaveAndLeave, SaveAnswerAfterCancelSavesAndCloses)
{
    open({step(1, "a", 0)}, "Study_1.json");
    document().setResearchName("Study two");
    editor.cancel();
    editor.answerSave();
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_FALSE(editor.hasUnsavedChanges());
    EXPECT_EQ(protocolFiles(), QStringList{"Study_two_1.json"});
}

TEST_F(SaveAndLeave, DeactivationAsksButTheEditorStaysOpen)
{
    open({step(1, "a", 0)}, "Study_1.json");
    editor.setScenePhase(Qt::ApplicationInactive);
    EXPECT_FALSE(editor.showUnsavedChangesAlert()) << "nothing to ask about";
    editor.setScenePhase(Qt::ApplicationActive);

    editor.step()->setSeconds(20);
    editor.setScenePhase(Qt::ApplicationInactive);
    editor.setScenePhase(Qt::ApplicationSuspended);
    EXPECT_TRUE(editor.showUnsavedChangesAlert());
    EXPECT_EQ(editor.pendingExitAction(), RunEditorViewModel::PendingExitAction::appDeactivation);
    editor.setScenePhase(Qt::ApplicationActive);
    editor.answerProceedWithoutSaving();
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_FALSE(editor.hasUnsavedChanges());
    EXPECT_FALSE(editor.pendingExitAction());

    // Saved on the way out: the editor still shows the protocol.
    document().setResearchName("Renamed");
    editor.setScenePhase(Qt::ApplicationHidden);
    editor.setScenePhase(Qt::ApplicationActive);
    editor.answerSave();
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_FALSE(editor.hasUnsavedChanges());
    EXPECT_EQ(protocolFiles(), QStringList{"Renamed_1.json"});

    // A later save replaces that file, not the one first opened.
    document().setResearchName("Final");
    editor.save();
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_EQ(protocolFiles(), QStringList{"Final_1.json"});
}

TEST_F(SaveAndLeave, SaveRefusesAProtocolWithoutNameOrVersion)
{
    open({step(1, "a", 0)}, "Study_1.json");
    document().setResearchName("");
    document().setVersion("");
    editor.save();
    EXPECT_EQ(editor.saveError(), "Enter a research name and a version before saving.");
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_TRUE(editor.hasUnsavedChanges());
    EXPECT_EQ(protocolFiles(), QStringList{"Study_1.json"});

    document().setVersion("2");
    EXPECT_EQ(editor.saveError(), "") << "a filled-in field clears the message";
    document().setResearchName("   ");
    editor.save();
    EXPECT_EQ(editor.saveError(), "Enter a research name before saving.");

    document().setResearchName("Study");
    document().setVersion("");
    editor.cancel();
    editor.answerSave();
    EXPECT_EQ(editor.saveError(), "Enter a version before saving.");
    EXPECT_TRUE(content.isTestEditing()) << "a refused save does not leave";
    EXPECT_EQ(protocolFiles(), QStringList{"Study_1.json"});

    document().setVersion("2");
    editor.save();
    EXPECT_EQ(editor.saveError(), "");
    EXPECT_EQ(protocolFiles(), QStringList{"Study_2.json"});
}

TEST_F(SaveAndLeave, AFailedWriteKeepsTheEditorAndItsChanges)
{
    open({step(1, "a", 0)});
    documents.write("Research_protocols", "a file where the folder should be");
    document().setResearchName("Blocked");
    editor.save();
    EXPECT_EQ(editor.saveError(), "The protocol file could not be written; your changes are not saved.");
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_TRUE(editor.hasUnsavedChanges());
    EXPECT_TRUE(console.anyStartsWith("Failed to make a new 'Research_protocols' directory"));
}

TEST_F(SaveAndLeave, SavedFileReadsBackAsTheEditedProtocol)
{
    open({step(1, "intro", 0)}, "Old_1.json");
    document().setResearchName("New name");
    editor.setResearchDescription("");
    document().setUsesDrone(false);
    editor.newStep();
    editor.step()->setName("Video part");
    editor.step()->setMinutes(3);
    editor.step()->setInstructionsText("Watch");
    editor.step()->setViewSelected("Video (drone side)", true);
    editor.step()->setParameter("Video (drone side)", "videoLink", "48.mp4");
    editor.step()->setParameter("Video (drone side)", "showButtons", "yes");
    editor.save();

    EXPECT_FALSE(content.isTestEditing());
    EXPECT_EQ(protocolFiles(), QStringList{"New_name_1.json"});
    EXPECT_EQ(editor.originalFileName(), "New_name_1.json");
    EXPECT_TRUE(console.anyStartsWith("JSON correctly saved to: "));
    const ProtocolReader::Result read = ProtocolReader::decode(documents.read("Research_protocols/New_name_1.json"));
    ASSERT_TRUE(read.run);
    EXPECT_TRUE(read.run->sameContent(document()));
    const DeelTestje added = read.run->steps().at(1);
    EXPECT_EQ(added.labelID, "Video_part");
    EXPECT_EQ(added.duration, 180);
    EXPECT_EQ(added.description, "Watch");
    EXPECT_EQ(added.views().at(0).Parameters,
              (QList<std::optional<QString>>{QStringLiteral("48.mp4"), QStringLiteral("yes"), QStringLiteral("no"),
                                             QStringLiteral("no")}));
    EXPECT_EQ(read.run->researchDescription(), QString(""));
}

TEST_F(SaveAndLeave, DeleteResearchAsksThenRemovesTheFileAndCloses)
{
    open({step(1, "a", 0)}, "Study_1.json");
    editor.requestDelete();
    EXPECT_TRUE(editor.showDeleteAlert());
    editor.cancelDelete();
    EXPECT_FALSE(editor.showDeleteAlert());
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_EQ(protocolFiles(), QStringList{"Study_1.json"});

    editor.requestDelete();
    editor.confirmDelete();
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_TRUE(protocolFiles().isEmpty());
    EXPECT_TRUE(console.contains("✅ Successfully deleted file: Study_1.json"));
    EXPECT_EQ(library.selectedFileName(), "");

    // A protocol never saved has no file; the editor closes all the same.
    library.createNewProtocol();
    content.setIsTestEditing(true);
    editor.requestDelete();
    editor.confirmDelete();
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_TRUE(console.contains("❌ No original filename available for deletion - this is a new file"));
}
