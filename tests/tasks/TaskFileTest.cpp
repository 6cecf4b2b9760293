#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"
#include "tasks/CalculationEvaluator.h"
#include "tasks/TaskFile.h"

#include <gtest/gtest.h>

namespace {

class TaskFiles : public ::testing::Test
{
protected:
    TaskFiles() { TaskFile::reset(); }
    ~TaskFiles() override { TaskFile::reset(); }
    TemporaryDocuments documents;
    ConsoleCapture console;
};

} // namespace

TEST(CalculationEvaluatorTable, Results)
{
    const auto eval = &CalculationEvaluator::evaluateCalculation;
    EXPECT_EQ(eval("12 + 5 ="), 17);
    EXPECT_EQ(eval("12 x 5 ="), 60);
    EXPECT_EQ(eval("12 * 5 ="), 60);
    EXPECT_EQ(eval("7 : 2 ="), 3);
    EXPECT_EQ(eval("7 / 2 ="), 3);
    EXPECT_EQ(eval("-7 / 2 ="), -3);
    EXPECT_EQ(eval("10 - 12 ="), -2);
    EXPECT_EQ(eval("12   +  5    ="), 17);
    EXPECT_EQ(eval("a + 5 ="), 5);
    EXPECT_EQ(eval("3.5 + 1 ="), 1);
    EXPECT_EQ(eval("+3 + 4 ="), 7);
    EXPECT_EQ(eval(""), 0);
    EXPECT_EQ(eval("12\t+ 5 ="), -999) << "a tab is part of a token";
}

TEST(CalculationEvaluatorTable, UnusableLinesGiveMinus999AndSayWhy)
{
    ConsoleCapture console;
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("12+5 ="), -999);
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("12 + 5"), -999);
    EXPECT_TRUE(console.contains("ongeldige syntax"));
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("12 % 5 ="), -999);
    EXPECT_TRUE(console.contains("ongeldige operator"));
    // Faults that must not bring the program down.
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("7 : 0 ="), -999);
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("9223372036854775807 + 1 ="), -999);
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("-9223372036854775808 / -1 ="), -999);
    EXPECT_EQ(CalculationEvaluator::evaluateCalculation("4294967296 x 4294967296 ="), -999);
    EXPECT_TRUE(console.contains("division by zero in: 7 : 0 ="));
    EXPECT_TRUE(console.contains("result out of range in: 9223372036854775807 + 1 ="));
}

TEST(TaskLineSplitting, EveryNewlineKindEndsALineAndEmptyEntriesStay)
{
    EXPECT_EQ(TaskFile::splitLines("a\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(TaskFile::splitLines("a\n"), (QStringList{"a", ""}));
    EXPECT_EQ(TaskFile::splitLines(QStringLiteral("a\u2028b\u2029c\u0085d\x0b" "e\x0c" "f")),
              (QStringList{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(TaskFile::splitLines(""), QStringList{""});
    EXPECT_EQ(TaskFile::splitLines(" x "), QStringList{" x "}) << "nothing is trimmed";
}

TEST_F(TaskFiles, PackagedFilesWinOverDocuments)
{
    EXPECT_EQ(TaskFile::taskLines(), QStringList{"Ready?"});
    documents.write("Reken/TTR_addition_problems_1.txt", "1 + 1 =\n");
    TaskFile::loadTaskFile("TTR_addition_problems_1.txt");
    EXPECT_TRUE(console.contains("Successfully loaded TTR_addition_problems_1.txt from app bundle"));
    ASSERT_GT(TaskFile::taskLines().size(), 10);
    for (const QString &line : TaskFile::taskLines().mid(0, TaskFile::taskLines().size() - 1))
        EXPECT_NE(CalculationEvaluator::evaluateCalculation(line), -999) << line.toStdString();
    EXPECT_EQ(TaskFile::taskLines().last(), "") << "the file ends in a line feed";
}

TEST_F(TaskFiles, DocumentsRekenThenTheErrorEntry)
{
    documents.write("Reken/mine.txt", "A\nB");
    TaskFile::loadTaskFile("mine.txt");
    EXPECT_EQ(TaskFile::taskLines(), (QStringList{"A", "B"}));
    EXPECT_TRUE(console.contains("Successfully loaded mine.txt from Documents/Reken"));
    TaskFile::loadTaskFile("absent.txt");
    EXPECT_EQ(TaskFile::taskLines(),
              QStringList{"Error loading file: absent.txt not found in bundle or Documents/Reken"});
    EXPECT_TRUE(console.anyStartsWith("Error reading reken file: "));
}

TEST_F(TaskFiles, TheFourQuestionSetsAreBundled)
{
    for (const char *set : {"Resting.txt", "Failed_attempt.txt", "Preparation.txt", "Baseline.txt"}) {
        TaskFile::loadTaskFile(set);
        EXPECT_GE(TaskFile::taskLines().size(), 3) << set;
        EXPECT_FALSE(TaskFile::taskLines().first().startsWith("Error loading file")) << set;
    }
}
