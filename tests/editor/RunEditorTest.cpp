#include "editor/EditorFixture.h"

namespace {

using RunEditor = EditorFixture;

QList<DeelTestje> fiveSteps()
{
    QList<DeelTestje> steps;
    for (int i = 1; i <= 5; ++i)
        steps.append(TestProtocol::step(i, QString("S%1").arg(i), QString("s%1").arg(i), 10));
    return steps;
}

} // namespace

TEST_F(RunEditor, OpensOnTheFirstStepOrNoneAndANewStepGoesAfterTheSelection)
{
    open({});
    EXPECT_FALSE(editor.step()->hasStep());
    editor.newStep();
    ASSERT_EQ(document().stepCount(), 1);
    EXPECT_EQ(document().steps().at(0).labelID, "New_step_1");
    EXPECT_EQ(editor.selectedTestID(), document().steps().at(0).id);
    content.setIsTestEditing(false);
    EXPECT_TRUE(editor.selectedTestID().isNull());

    open(fiveSteps());
    EXPECT_EQ(rows(), "*1. S1 | 2. S2 | 3. S3 | 4. S4 | 5. S5");
    editor.rows().at(1)->select();
    editor.newStep();
    EXPECT_EQ(rows(), "1. S1 | 2. S2 | *3. New step 6 | 4. S3 | 5. S4 | 6. S5");
    EXPECT_EQ(document().steps().at(2).numID, 6);
    EXPECT_EQ(editor.selectedTestID(), document().steps().at(2).id);

    editor.setSelectedTestID(QUuid());
    editor.newStep();
    EXPECT_EQ(document().steps().last().name, "New step 7");
    EXPECT_NE(document().steps().at(5).id, document().steps().at(6).id);
}

TEST_F(RunEditor, DuplicateAddsHundredAndCopyMarksRightAfterTheOriginal)
{
    const DeelTestje rest = step(12, "rest", 90, {{"Text (drone side)", {QStringLiteral("breathe")}}});
    open({rest, step(13, "go", 5)});

    // The row's button exists only while the list is being edited.
    editor.rows().at(0)->duplicate();
    EXPECT_EQ(document().stepCount(), 2);
    editor.setIsEditing(true);
    EXPECT_TRUE(editor.rows().at(0)->isEditing());
    editor.rows().at(0)->duplicate();

    ASSERT_EQ(document().stepCount(), 3);
    DeelTestje copy = document().steps().at(1);
    EXPECT_NE(copy.id, rest.id);
    EXPECT_EQ(editor.selectedTestID(), copy.id);
    EXPECT_EQ(QString("%1 %2 %3").arg(copy.numID).arg(copy.name, copy.labelID), "112 REST (Copy) rest2");
    copy.id = rest.id, copy.numID = rest.numID, copy.name = rest.name, copy.labelID = rest.labelID;
    EXPECT_EQ(copy, rest) << "all else is copied";

    // The detail's "Duplicate" copies the step it shows.
    editor.step()->duplicate();
    EXPECT_EQ(rows(), "1. REST | 2. REST (Copy) | *3. REST (Copy) (Copy) | 4. GO");
    EXPECT_EQ(document().steps().at(2).numID, 212);
}

TEST_F(RunEditor, DeletingTheShownStepClearsTheSelectionAndCanLeaveNumbersShared)
{
    open(fiveSteps());
    document().setIDlist({{"s1", 1}, {"s2", 2}});
    editor.rows().at(1)->select();
    const QUuid second = editor.selectedTestID();

    editor.deleteSteps({0, 3, 3, 17});
    EXPECT_EQ(rows(), "*1. S2 | 2. S3 | 3. S5");
    EXPECT_EQ(editor.selectedTestID(), second);

    editor.step()->deleteStep();
    EXPECT_EQ(rows(), "1. S3 | 2. S5");
    EXPECT_TRUE(editor.selectedTestID().isNull());
    EXPECT_FALSE(editor.step()->hasStep());
    EXPECT_EQ(document().steps().at(0).numID, 3);
    EXPECT_EQ(document().IDlist(), (QMap<QString, qint64>{{"s1", 1}, {"s2", 2}}));

    // New steps take the step count for their number, which a deletion can leave in use.
    EXPECT_FALSE(editor.duplicatesDetected());
    editor.newStep();
    EXPECT_EQ(editor.duplicateIDs(), (QMap<qint64, QStringList>{{3, {"1. S3", "3. New step 3"}}}));
    editor.step()->setName("Extra");
    EXPECT_EQ(editor.duplicateIDs().value(3), QStringList({"1. S3", "3. Extra"}));
    editor.step()->deleteStep();
    EXPECT_FALSE(editor.duplicatesDetected());
}
