#include "ScreenFixture.h"
#include "support/ProgramRun.h"

#include "editor/RunEditorViewModel.h"
#include "run/ContentViewModel.h"
#include "run/StartViewModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

class EditorScreen : public ScreenFixture
{
protected:
    // Writes a two-step protocol and opens it in the editor from the start screen.
    void openInEditor(const QString &file)
    {
        addProtocol(file, {"Stress", "2", false, {step(1, "Rest", "Rest", 60), step(2, "Task", "task", 0)}});
        openFromStartScreen(file);
    }

    // A tap on a listed protocol in the start screen's edit mode.
    void openFromStartScreen(const QString &file)
    {
        if (!models->start()->runsEditModeActive())
            click("editModeButton");
        click("runRow " + file);
        ASSERT_TRUE(shown("runEditorView"));
    }

    void answer(const QString &alert, const QString &button) { click("alertButton " + button, find(alert)); }

    void setWheel(const QString &wheel, int index)
    {
        QObject *tumbler = find(wheel);
        ASSERT_NE(tumbler, nullptr);
        tumbler->setProperty("currentIndex", index);
        settle();
    }

    void toggle(const QString &switchName)
    {
        QObject *control = find(switchName);
        ASSERT_NE(control, nullptr);
        control->setProperty("checked", !control->property("checked").toBool());
        QMetaObject::invokeMethod(control, "toggled");
        settle();
    }

    void choose(const QString &comboName, int index)
    {
        QObject *combo = find(comboName);
        ASSERT_NE(combo, nullptr);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, index));
        settle();
    }

    RunEditorViewModel *editor() const { return models->editor(); }
};

} // namespace

TEST_F(EditorScreen, EditedStepIsSavedInAFileTheConverterReadsBack)
{
    openInEditor("Stress_2.json");
    EXPECT_EQ(text("researchNameField"), "Stress");
    EXPECT_EQ(text("versionField"), "2");
    // The first step is selected on opening.
    ASSERT_TRUE(shown("stepView"));
    EXPECT_EQ(text("stepTitle"), "Rest");
    EXPECT_EQ(text("stepLabelField"), "Rest");

    // A label that followed the title follows a new title.
    type("stepNameField", "Baseline rest");
    EXPECT_EQ(text("stepTitle"), "Baseline rest");
    EXPECT_EQ(text("stepLabelField"), "Baseline_rest");

    setWheel("minutesWheel", 2);
    setWheel("secondsWheel", 30);
    toggle("viewSwitch Breathing (drone side)");
    ASSERT_TRUE(shown("viewChoice Breathing (drone side) value"));
    choose("viewChoice Breathing (drone side) value", 2);
    toggle("viewSwitch Climbing");
    EXPECT_TRUE(editor()->hasUnsavedChanges());
    screenshot("editor-step");

    click("editorSave");
    EXPECT_FALSE(models->content()->isTestEditing());
    EXPECT_TRUE(shown("startView"));
    ASSERT_TRUE(documents.exists("Research_protocols/Stress_2.json"));

    const ProgramRun converted = ProgramRun::of(QStringLiteral(TAVOREN_BINARY_DIR "/tools/cli/tavoren-cli"),
                                                {"convert", documents.filePath("Research_protocols/Stress_2.json")});
    ASSERT_EQ(converted.status, 0) << converted.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(converted.out).object();
    EXPECT_EQ(json.value("researchName").toString(), "Stress");
    const QJsonArray steps = json.value("steps").toArray();
    ASSERT_EQ(steps.size(), 2);
    const QJsonObject first = steps.at(0).toObject();
    EXPECT_EQ(first.value("name").toString(), "Baseline rest");
    EXPECT_EQ(first.value("labelID").toString(), "Baseline_rest");
    EXPECT_EQ(first.value("duration").toInt(), 150);
    // Committed in the offered order, not the order they were switched on.
    const QJsonArray views = first.value("optionalViews").toArray();
    ASSERT_EQ(views.size(), 2);
    EXPECT_EQ(views.at(0).toObject().value("ViewName").toString(), "Climbing");
    EXPECT_EQ(views.at(1).toObject().value("ViewName").toString(), "Breathing (drone side)");
    EXPECT_EQ(views.at(1).toObject().value("Parameters").toArray().at(0).toString(), "Fast");
    EXPECT_EQ(steps.at(1).toObject().value("name").toString(), "Task");
}

TEST_F(EditorScreen, CancelWithChangesAsksAndEachAnswerDoesWhatItSays)
{
    openInEditor("Stress_2.json");
    const QByteArray before = documents.read("Research_protocols/Stress_2.json");
    click("newStepButton");
    EXPECT_EQ(editor()->rows().size(), 3);

    click("editorCancel");
    ASSERT_TRUE(shown("unsavedChangesAlert"));
    EXPECT_EQ(text("alertTitle", find("unsavedChangesAlert")), "Unsaved changes");
    EXPECT_EQ(text("alertMessage", find("unsavedChangesAlert")),
              "You have unsaved changes. Do you want to save before leaving?");
    screenshot("editor-unsaved-question");

    answer("unsavedChangesAlert", "Cancel");
    EXPECT_FALSE(shown("unsavedChangesAlert"));
    EXPECT_TRUE(shown("runEditorView"));

    click("editorCancel");
    answer("unsavedChangesAlert", "Proceed without saving");
    EXPECT_FALSE(models->content()->isTestEditing());
    EXPECT_EQ(documents.read("Research_protocols/Stress_2.json"), before);

    openFromStartScreen("Stress_2.json");
    ASSERT_EQ(editor()->rows().size(), 2);
    click("newStepButton");
    click("editorCancel");
    answer("unsavedChangesAlert", "Save");
    EXPECT_FALSE(models->content()->isTestEditing());
    EXPECT_NE(documents.read("Research_protocols/Stress_2.json"), before);
    EXPECT_EQ(QJsonDocument::fromJson(documents.read("Research_protocols/Stress_2.json"))
                  .object()
                  .value("steps")
                  .toArray()
                  .size(),
              3);
}

TEST_F(EditorScreen, AProtocolWithoutANameIsNotSaved)
{
    click("newProtocolButton");
    ASSERT_TRUE(shown("runEditorView"));
    EXPECT_EQ(text("researchNameField"), "New research");
    EXPECT_FALSE(shown("saveError"));
    type("researchNameField", "");
    type("versionField", " ");

    click("editorSave");
    EXPECT_TRUE(shown("runEditorView"));
    ASSERT_TRUE(shown("saveError"));
    EXPECT_EQ(text("saveError"), "Enter a research name and a version before saving.");
    EXPECT_FALSE(documents.exists("Research_protocols/_.json"));
    screenshot("editor-save-refused");

    type("researchNameField", "Pilot");
    click("editorSave");
    EXPECT_EQ(text("saveError"), "Enter a version before saving.");
    type("versionField", "1");
    click("editorSave");
    EXPECT_FALSE(models->content()->isTestEditing());
    EXPECT_TRUE(documents.exists("Research_protocols/Pilot_1.json"));
}

TEST_F(EditorScreen, SharedStepNumbersAreNamedOnScreen)
{
    openInEditor("Stress_2.json");
    EXPECT_FALSE(shown("duplicateIDsWarning"));
    click("stepRow 0");
    click("stepsEditButton");
    click("duplicateStep 0");
    ASSERT_EQ(editor()->rows().size(), 3);
    // The copy takes a free number, so the list stays unambiguous.
    EXPECT_FALSE(editor()->duplicatesDetected());

    DeelTestje a = step(4, "A", "a", 0);
    DeelTestje b = step(4, "B", "b", 0);
    addProtocol("Clash_1.json", {"Clash", "1", false, {a, b}});
    click("editorCancel");
    answer("unsavedChangesAlert", "Proceed without saving");
    models->start()->appeared();
    settle();
    openFromStartScreen("Clash_1.json");
    ASSERT_TRUE(shown("duplicateIDsWarning"));
    EXPECT_TRUE(text("duplicateIDsWarning").contains("4"));
    EXPECT_TRUE(text("duplicateIDsWarning").contains("A"));
    EXPECT_TRUE(text("duplicateIDsWarning").contains("B"));
    screenshot("editor-shared-numbers");
}

TEST_F(EditorScreen, DeleteResearchAsksFirst)
{
    openInEditor("Stress_2.json");
    click("editorDelete");
    ASSERT_TRUE(shown("deleteResearchAlert"));
    EXPECT_EQ(text("alertTitle", find("deleteResearchAlert")),
              "Are you sure you want to delete this research protocol?");
    answer("deleteResearchAlert", "Cancel");
    EXPECT_TRUE(documents.exists("Research_protocols/Stress_2.json"));
    EXPECT_TRUE(shown("runEditorView"));

    click("editorDelete");
    answer("deleteResearchAlert", "Delete anyway");
    EXPECT_FALSE(documents.exists("Research_protocols/Stress_2.json"));
    EXPECT_FALSE(models->content()->isTestEditing());
    EXPECT_FALSE(models->start()->configFiles().contains("Stress_2.json"));
}
