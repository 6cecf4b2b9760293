#include "editor/EditorFixture.h"
#include "model/ProtocolReader.h"

using SaveAndLeave = EditorFixture;

TEST_F(SaveAndLeave, ChangesCountOnlyAfterTheInitialLoad)
{
    useSteps({step(1, "NewLabel", 0)});
    content.setIsTestEditing(true);
    // The placeholder label was replaced while opening: not a change.
    EXPECT_EQ(document().steps().at(0).labelID, "NEWLABEL");
    EXPECT_TRUE(editor.isInitialLoad());
    document().setResearchName("Opening");
    EXPECT_EQ(state(), "open");
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor.isInitialLoad());
    editor.setResearchDescription("About");
    EXPECT_EQ(document().researchDescription(), "About");
    EXPECT_EQ(state(), "open, unsaved");

    content.setIsTestEditing(false);
    EXPECT_EQ(state(), "closed");
    // While closed, the start screen's loading of a protocol is no change.
    document().setResearchName("Other");
    EXPECT_EQ(state(), "closed");
}

TEST_F(SaveAndLeave, CancelLeavesAtOnceOrAsksFirst)
{
    open({step(1, "a", 0)});
    editor.cancel();
    EXPECT_EQ(state(), "closed");

    open({step(1, "a", 0)}, "Study_1.json");
    editor.step()->setName("Changed");
    editor.cancel();
    EXPECT_EQ(state(), "open, unsaved, asking, on cancel");
    editor.answerCancel();
    EXPECT_EQ(state(), "open, unsaved");
    EXPECT_EQ(rows(), "*1. Changed");

    editor.cancel();
    editor.answerProceedWithoutSaving();
    EXPECT_EQ(state(), "closed");
    EXPECT_EQ(ProtocolReader::decode(documents.read("Research_protocols/Study_1.json")).run->steps().at(0).name, "A");

    open({step(1, "a", 0)}, "Study_1.json");
    document().setResearchName("Study two");
    editor.cancel();
    editor.answerSave();
    EXPECT_EQ(state(), "closed");
    EXPECT_EQ(protocolFiles(), QStringList{"Study_two_1.json"});
}

TEST_F(SaveAndLeave, DeactivationAsksButTheEditorStaysOpen)
{
    open({step(1, "a", 0)}, "Study_1.json");
    editor.setScenePhase(Qt::ApplicationInactive);
    EXPECT_EQ(state(), "open") << "nothing to ask about";
    editor.setScenePhase(Qt::ApplicationActive);

    editor.step()->setSeconds(20);
    editor.setScenePhase(Qt::ApplicationInactive);
    editor.setScenePhase(Qt::ApplicationSuspended);
    EXPECT_EQ(state(), "open, unsaved, asking, on leaving the app");
    editor.setScenePhase(Qt::ApplicationActive);
    editor.answerProceedWithoutSaving();
    EXPECT_EQ(state(), "open");

    // Saved on the way out: the editor still shows the protocol.
    document().setResearchName("Renamed");
    editor.setScenePhase(Qt::ApplicationHidden);
    editor.setScenePhase(Qt::ApplicationActive);
    editor.answerSave();
    EXPECT_EQ(state(), "open");
    EXPECT_EQ(protocolFiles(), QStringList{"Renamed_1.json"});

    // A later save replaces that file, not the one first opened.
    document().setResearchName("Final");
    editor.save();
    EXPECT_EQ(state(), "closed");
    EXPECT_EQ(protocolFiles(), QStringList{"Final_1.json"});
}

TEST_F(SaveAndLeave, SaveRefusesAProtocolWithoutNameOrVersion)
{
    open({step(1, "a", 0)}, "Study_1.json");
    document().setResearchName("");
    document().setVersion("");
    editor.save();
    EXPECT_EQ(editor.saveError(), "Enter a research name and a version before saving.");
    EXPECT_EQ(state(), "open, unsaved");

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
    EXPECT_EQ(state(), "open, unsaved") << "a refused save does not leave";

    // A write that fails keeps the editor, its changes and the earlier file.
    document().setVersion("2");
    documents.write("Research_protocols/Study_2.json/in_the_way", "");
    editor.save();
    EXPECT_EQ(editor.saveError(), "The protocol file could not be written; your changes are not saved.");
    EXPECT_EQ(state(), "open, unsaved");
    EXPECT_EQ(protocolFiles(), QStringList{"Study_1.json"});
}

TEST_F(SaveAndLeave, SavedFileReadsBackAsTheEditedProtocol)
{
    open({step(1, "intro", 0)}, "Old_1.json");
    document().setResearchName("New name");
    editor.setResearchDescription("");
    editor.newStep();
    editor.step()->setName("Video part");
    editor.step()->setMinutes(3);
    editor.step()->setInstructionsText("Watch");
    editor.step()->setViewSelected("Video (drone side)", true);
    editor.save();

    EXPECT_EQ(state(), "closed");
    EXPECT_EQ(protocolFiles(), QStringList{"New_name_1.json"});
    EXPECT_EQ(editor.originalFileName(), "New_name_1.json");
    const ProtocolReader::Result read = ProtocolReader::decode(documents.read("Research_protocols/New_name_1.json"));
    ASSERT_TRUE(read.run);
    EXPECT_TRUE(read.run->sameContent(document()));
    const DeelTestje added = read.run->steps().at(1);
    EXPECT_EQ(QStringList({added.labelID, QString::number(added.duration), added.description, added.views()[0].ViewName}),
              QStringList({"Video_part", "180", "Watch", "Video (drone side)"}));
    EXPECT_EQ(read.run->researchDescription(), QString(""));
}

TEST_F(SaveAndLeave, DeleteResearchAsksThenRemovesTheFileAndCloses)
{
    open({step(1, "a", 0)}, "Study_1.json");
    editor.requestDelete();
    EXPECT_TRUE(editor.showDeleteAlert());
    editor.cancelDelete();
    EXPECT_FALSE(editor.showDeleteAlert());
    EXPECT_EQ(state(), "open");
    editor.requestDelete();
    editor.confirmDelete();
    EXPECT_EQ(state(), "closed");
    EXPECT_TRUE(protocolFiles().isEmpty());
    EXPECT_EQ(library.selectedFileName(), "");

    // A protocol never saved has no file; the editor closes all the same.
    library.createNewProtocol();
    content.setIsTestEditing(true);
    editor.requestDelete();
    editor.confirmDelete();
    EXPECT_EQ(state(), "closed");
}
