#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"
#include "tasks/CalculationEvaluator.h"
#include "tasks/TaskFile.h"

#include <gtest/gtest.h>

TEST(CalculationEvaluator, ResultsAndMinus999ForWhatCannotBeComputed)
{
    ConsoleCapture console;
    const std::pair<const char *, qint64> results[] = {
        {"12 + 5 =", 17}, {"12 x 5 =", 60}, {"12 * 5 =", 60}, {"7 : 2 =", 3}, {"7 / 2 =", 3}, {"-7 / 2 =", -3},
        {"10 - 12 =", -2}, {"12   +  5    =", 17}, {"a + 5 =", 5}, {"3.5 + 1 =", 1}, {"+3 + 4 =", 7}, {"", 0},
        {"12\t+ 5 =", -999}, // a tab is part of a token
        {"12+5 =", -999}, {"12 + 5", -999}, {"12 % 5 =", -999},
        // Faults that must not bring the program down.
        {"7 : 0 =", -999}, {"9223372036854775807 + 1 =", -999}, {"-9223372036854775808 / -1 =", -999},
        {"4294967296 x 4294967296 =", -999}};
    for (const auto &[line, result] : results)
        EXPECT_EQ(CalculationEvaluator::evaluateCalculation(line), result) << line;
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

TEST(TaskFiles, PackagedFilesWinOverDocumentsRekenAndAMissingOneIsAnErrorEntry)
{
    TemporaryDocuments documents;
    TaskFile::reset();
    EXPECT_EQ(TaskFile::taskLines(), QStringList{"Ready?"});
    documents.write("Reken/TTR_addition_problems_1.txt", "1 + 1 =\n");
    TaskFile::loadTaskFile("TTR_addition_problems_1.txt");
    ASSERT_GT(TaskFile::taskLines().size(), 10);
    for (const QString &line : TaskFile::taskLines().mid(0, TaskFile::taskLines().size() - 1))
        EXPECT_NE(CalculationEvaluator::evaluateCalculation(line), -999) << line.toStdString();
    EXPECT_EQ(TaskFile::taskLines().last(), "") << "the file ends in a line feed";

    documents.write("Reken/mine.txt", "A\nB");
    TaskFile::loadTaskFile("mine.txt");
    EXPECT_EQ(TaskFile::taskLines(), (QStringList{"A", "B"}));
    TaskFile::loadTaskFile("absent.txt");
    EXPECT_EQ(TaskFile::taskLines(),
              QStringList{"Error loading file: absent.txt not found in bundle or Documents/Reken"});
    TaskFile::reset();
}
