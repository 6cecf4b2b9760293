#include "editor/EditorFixture.h"
#include "model/ProtocolReader.h"

using SaveAndLeave = EditorFixture;

TEST_F(SaveAndLeave, ChangesAfterTheInitialLoadMakeCancelAsk)
{
    useSteps({step(1, "NewLabel", 0)}); // its placeholder label is replaced while opening
    content.setIsTestEditing(true);
    document().setResearchName("Opening"); // still loading: not a change
    QCoreApplication::processEvents();
    editor.cancel();
    EXPECT_EQ(state(), "closed");
    document().setResearchName("Other"); // the start screen loading a protocol
    EXPECT_EQ(state(), "closed");

    open({step(1, "a", 0)}, "Study_1.json");
    editor.setResearchDescription("About");
    editor.cancel();
    EXPECT_EQ(state(), "open, unsaved, asking, on cancel");
    editor.answerCancel();
    EXPECT_EQ(state(), "open, unsaved");
    EXPECT_EQ(document().researchDescription(), "About");

    editor.cancel();
    editor.answerProceedWithoutSaving();
    EXPECT_EQ(state(), "closed");
    EXPECT_NE(ProtocolReader::decode(documents.read("Research_protocols/Study_1.json")).run->researchDescription(), "About");

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
    for (const auto &[name, version, message] : std::initializer_list<std::tuple<QString, QString, QString>>{
             {"", "", "Enter a research name and a version before saving."},
             {"   ", "2", "Enter a research name before saving."},
             {"Study", "", "Enter a version before saving."}}) {
        document().setResearchName(name);
        document().setVersion(version);
        editor.save();
        EXPECT_EQ(editor.saveError(), message);
    }
    editor.cancel();
    editor.answerSave();
    EXPECT_EQ(state(), "open, unsaved") << "a refused save does not leave";
    document().setVersion("2");
    EXPECT_EQ(editor.saveError(), "") << "a filled-in field clears the message";

    // A write that fails keeps the editor, its changes and the earlier file.
    documents.write("Research_protocols/Study_2.json/in_the_way", "");
    editor.save();
    EXPECT_EQ(editor.saveError(), "The protocol file could not be written; your changes are not saved.");
    EXPECT_EQ(state(), "open, unsaved");
    EXPECT_EQ(protocolFiles(), QStringList{"Study_1.json"});
}

TEST_F(SaveAndLeave, DeleteResearchAsksThenRemovesTheFileAndCloses)
{
    open({step(1, "a", 0)}, "Study_1.json");
    editor.requestDelete();
    editor.cancelDelete();
    EXPECT_FALSE(editor.showDeleteAlert());
    EXPECT_EQ(state(), "open");
    editor.requestDelete();
    editor.confirmDelete();
    EXPECT_EQ(state(), "closed");
    EXPECT_EQ(library.selectedFileName(), "") << "the file is gone";

    // A protocol never saved has no file; the editor closes all the same.
    library.createNewProtocol();
    content.setIsTestEditing(true);
    editor.requestDelete();
    editor.confirmDelete();
    EXPECT_EQ(state(), "closed");
}
