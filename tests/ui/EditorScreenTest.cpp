#include "ScreenFixture.h"
#include "run/ContentViewModel.h"
#include "run/StartViewModel.h"
#include "support/ProgramRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A protocol whose two steps share a number, opened from the start screen's edit mode.
class EditorScreen : public ScreenFixture
{
protected:
    EditorScreen()
    {
        addProtocol(file, {"Stress", "2", false, {step(1, "Rest", "Rest", 60), step(1, "Task", "task", 0)}});
        open();
    }
    void open()
    {
        if (!models->start()->runsEditModeActive())
            click("editModeButton");
        click("runRow " + file);
        ASSERT_TRUE(shown("runEditorView"));
    }
    bool editing() const { return models->content()->isTestEditing(); }
    const QString file = "Stress_2.json";
};

} // namespace

TEST_F(EditorScreen, EditedStepIsSavedInAFileTheConverterReadsBack)
{
    EXPECT_EQ(text("researchNameField"), "Stress");
    EXPECT_EQ(text("stepTitle"), "Rest") << "the first step is selected on opening";
    EXPECT_EQ(text("duplicateIDsWarning"),
              "Steps that share a numerical id (the label file cannot tell them apart):\n1: 1. Rest, 2. Task");
    EXPECT_FALSE(shown("markerCodesWarning")) << "no trigger box: its pause id 0 is no concern";
    screenshot("editor-shared-numbers");
    type("stepNameField", "Baseline rest");
    EXPECT_EQ(text("stepTitle"), "Baseline rest");
    EXPECT_EQ(text("stepLabelField"), "Baseline_rest");
    find("minutesWheel")->setProperty("currentIndex", 2);
    find("secondsWheel")->setProperty("currentIndex", 30);
    QObject *breathing = find("viewSwitch Breathing (drone side)");
    breathing->setProperty("checked", true);
    QMetaObject::invokeMethod(breathing, "toggled");
    settle();
    QMetaObject::invokeMethod(find("viewChoice Breathing (drone side) value"), "activated", Q_ARG(int, 2));
    screenshot("editor-step");
    click("editorSave");
    EXPECT_TRUE(shown("startView"));
    const ProgramRun converted = ProgramRun::cli({"convert", documents.filePath("Research_protocols/" + file)});
    ASSERT_EQ(converted.status, 0) << converted.err.toStdString();
    const QJsonArray steps = QJsonDocument::fromJson(converted.out)["steps"].toArray();
    ASSERT_EQ(steps.size(), 2);
    const QJsonObject first = steps.at(0).toObject();
    EXPECT_EQ(first["name"], "Baseline rest");
    EXPECT_EQ(first["labelID"], "Baseline_rest");
    EXPECT_EQ(first["duration"], 150);
    EXPECT_EQ(first["optionalViews"][0]["ViewName"], "Breathing (drone side)");
    EXPECT_EQ(first["optionalViews"][0]["Parameters"][0], "Fast");
    EXPECT_EQ(steps.at(1)["name"], "Task");
}

TEST_F(EditorScreen, SaveRefusesANamelessProtocolAndLeavingAsksAboutChangesAndDeleting)
{
    const QByteArray before = documents.read("Research_protocols/" + file);
    type("researchNameField", "");
    click("editorSave");
    EXPECT_EQ(text("saveError"), "Enter a research name before saving.");
    EXPECT_TRUE(shown("saveError"));
    screenshot("editor-save-refused");
    click("editorCancel");
    EXPECT_EQ(text("alertMessage", find("unsavedChangesAlert")),
              "You have unsaved changes. Do you want to save before leaving?");
    screenshot("editor-unsaved-question");
    answer("unsavedChangesAlert", "Cancel");
    EXPECT_FALSE(shown("unsavedChangesAlert"));
    EXPECT_TRUE(editing());
    click("editorCancel");
    answer("unsavedChangesAlert", "Proceed without saving");
    EXPECT_FALSE(editing());
    EXPECT_EQ(documents.read("Research_protocols/" + file), before);
    open();
    click("newStepButton");
    click("editorCancel");
    answer("unsavedChangesAlert", "Save");
    EXPECT_FALSE(editing());
    EXPECT_EQ(QJsonDocument::fromJson(documents.read("Research_protocols/" + file))["steps"].toArray().size(), 3);
    open();
    click("editorDelete");
    EXPECT_EQ(text("alertTitle", find("deleteResearchAlert")), "Are you sure you want to delete this research protocol?");
    answer("deleteResearchAlert", "Delete anyway");
    EXPECT_FALSE(documents.exists("Research_protocols/" + file));
    EXPECT_FALSE(editing());
}
