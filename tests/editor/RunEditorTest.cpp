#include "editor/EditorFixture.h"

namespace {

class RunEditor : public EditorFixture
{
protected:
    static QList<DeelTestje> fiveSteps()
    {
        QList<DeelTestje> steps;
        for (int i = 1; i <= 5; ++i)
            steps.append(step(i, QStringLiteral("s%1").arg(i), 10));
        return steps;
    }
};

} // namespace

TEST_F(RunEditor, OpensOnTheFirstStepOrNone)
{
    open(fiveSteps());
    EXPECT_EQ(editor.selectedTestID(), document().steps().at(0).id);
    EXPECT_TRUE(editor.rows().at(0)->isSelected());
    EXPECT_FALSE(editor.rows().at(1)->isSelected());
    content.setIsTestEditing(false);
    EXPECT_TRUE(editor.selectedTestID().isNull());

    open({});
    EXPECT_TRUE(editor.selectedTestID().isNull());
    EXPECT_FALSE(editor.step()->hasStep());
}

TEST_F(RunEditor, NewStepIsNumberedNamedAndInsertedAfterTheSelection)
{
    open({});
    editor.newStep();
    ASSERT_EQ(document().stepCount(), 1);
    const DeelTestje first = document().steps().at(0);
    EXPECT_EQ(first.numID, 1);
    EXPECT_EQ(first.name, "New step 1");
    EXPECT_EQ(first.labelID, "New_step_1");
    EXPECT_EQ(first.description, "");
    EXPECT_EQ(first.duration, 0);
    EXPECT_EQ(first.autoContinue, false);
    EXPECT_EQ(first.drone, QList<DroneSettings>{});
    EXPECT_EQ(first.aloud_silent, false);
    EXPECT_EQ(first.read_noread, false);
    EXPECT_EQ(first.optionalViews, QList<OptionalViewSettings>{});
    EXPECT_EQ(editor.selectedTestID(), first.id);

    open(fiveSteps());
    editor.rows().at(1)->select();
    editor.newStep();
    EXPECT_EQ(names(), QStringList({"S1", "S2", "New step 6", "S3", "S4", "S5"}));
    EXPECT_EQ(document().steps().at(2).numID, 6);
    EXPECT_EQ(editor.selectedTestID(), document().steps().at(2).id);
    EXPECT_EQ(editor.rows().at(2)->text(), "3. New step 6");
    EXPECT_TRUE(editor.rows().at(2)->isSelected());
    EXPECT_FALSE(editor.rows().at(1)->isSelected());

    editor.setSelectedTestID(QUuid());
    editor.newStep();
    EXPECT_EQ(names().last(), "New step 7");
    EXPECT_NE(document().steps().at(5).id, document().steps().at(6).id);
}

TEST_F(RunEditor, DuplicateAddsHundredAndCopyMarksRightAfterTheOriginal)
{
    DeelTestje rest = step(12, "rest", 90, {{"Text (drone side)", {QStringLiteral("breathe")}}});
    rest.name = "Rest";
    rest.description = "Sit still";
    open({rest, step(13, "go", 5)});

    // The row's button exists only while the list is being edited.
    editor.rows().at(0)->duplicate();
    EXPECT_EQ(document().stepCount(), 2);
    editor.setIsEditing(true);
    EXPECT_EQ(editor.editButtonText(), "Done");
    EXPECT_TRUE(editor.rows().at(0)->isEditing());
    editor.rows().at(0)->duplicate();

    ASSERT_EQ(document().stepCount(), 3);
    const DeelTestje copy = document().steps().at(1);
    EXPECT_EQ(copy.numID, 112);
    EXPECT_EQ(copy.name, "Rest (Copy)");
    EXPECT_EQ(copy.labelID, "rest2");
    EXPECT_NE(copy.id, rest.id);
    EXPECT_EQ(copy.description, "Sit still");
    EXPECT_EQ(copy.duration, 90);
    EXPECT_EQ(copy.optionalViews, rest.optionalViews);
    EXPECT_EQ(names().last(), "GO");
    EXPECT_EQ(editor.selectedTestID(), copy.id);

    // The detail's "Duplicate" copies the step it shows.
    editor.step()->duplicate();
    EXPECT_EQ(document().steps().at(2).name, "Rest (Copy) (Copy)");
    EXPECT_EQ(document().steps().at(2).numID, 212);
    editor.setIsEditing(false);
    EXPECT_EQ(editor.editButtonText(), "Edit");
    EXPECT_FALSE(editor.rows().at(3)->isEditing());
}

TEST_F(RunEditor, DeletingTheShownStepClearsTheSelectionOtherRowsKeepIt)
{
    open(fiveSteps());
    document().setIDlist({{"s1", 1}, {"s2", 2}});
    editor.rows().at(1)->select();
    const QUuid second = editor.selectedTestID();

    editor.deleteSteps({0, 3, 3, 17});
    EXPECT_EQ(names(), QStringList({"S2", "S3", "S5"}));
    EXPECT_EQ(editor.selectedTestID(), second);
    EXPECT_TRUE(editor.rows().at(0)->isSelected());
    EXPECT_EQ(editor.rows().size(), 3);
    EXPECT_EQ(editor.rows().at(2)->text(), "3. S5");

    editor.step()->deleteStep();
    EXPECT_EQ(names(), QStringList({"S3", "S5"}));
    EXPECT_TRUE(editor.selectedTestID().isNull());
    EXPECT_FALSE(editor.step()->hasStep());
    EXPECT_EQ(document().steps().at(0).numID, 3);
    EXPECT_EQ(document().IDlist(), (QMap<QString, qint64>{{"s1", 1}, {"s2", 2}}));
}

TEST_F(RunEditor, ReportsWhichStepsShareANumber)
{
    open({step(1, "a", 0), step(2, "b", 0), step(3, "c", 0)});
    EXPECT_FALSE(editor.duplicatesDetected());
    EXPECT_TRUE(editor.duplicateIDs().isEmpty());

    // New steps take the step count for their number, which a deletion
    // can leave in use.
    editor.deleteSteps({1});
    editor.newStep();
    EXPECT_TRUE(editor.duplicatesDetected());
    EXPECT_EQ(editor.duplicateIDs(), (QMap<qint64, QStringList>{{3, {"2. New step 3", "3. C"}}}));
    EXPECT_EQ(editor.duplicateIDsMap().value("3").toStringList(), QStringList({"2. New step 3", "3. C"}));

    editor.step()->setName("Extra");
    EXPECT_EQ(editor.duplicateIDs().value(3), QStringList({"2. Extra", "3. C"}));
    editor.step()->deleteStep();
    EXPECT_FALSE(editor.duplicatesDetected());
}
