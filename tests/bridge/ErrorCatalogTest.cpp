#include "bridge/Severity.h"
#include "bridge/SpacelabsErrorCatalogSwift.h"

#include <QSet>
#include <gtest/gtest.h>

using Catalog = SpacelabsErrorCatalogSwift;

TEST(ErrorCatalogTest, TablesHoldEverySixtySevenEntriesUnderSixtyFiveKeys)
{
    EXPECT_EQ(Catalog::umbrellaEntries().size(), 7);
    EXPECT_EQ(Catalog::mainEntries().size(), 58);
    EXPECT_EQ(Catalog::displayCodeEntries().size(), 2);
    QSet<QString> keys;
    for (const auto *table : {&Catalog::umbrellaEntries(), &Catalog::mainEntries(), &Catalog::displayCodeEntries()})
        for (const QString &key : table->keys())
            keys.insert(key);
    EXPECT_EQ(keys.size(), 65);
    for (const QString &key : keys)
        EXPECT_TRUE(Catalog::lookup(key).has_value()) << key.toStdString();
    for (auto it = Catalog::mainEntries().cbegin(); it != Catalog::mainEntries().cend(); ++it)
        EXPECT_EQ(it.key(), it->code);
}

TEST(ErrorCatalogTest, UmbrellaComesBeforePatternBeforeMain)
{
    EXPECT_EQ(Catalog::lookup("EC03")->title, "Measurement cancelled manually (umbrella)");
    EXPECT_EQ(Catalog::lookup("EC04")->title, "Not enough time/corrupted measuremt (umbrella)");
    EXPECT_EQ(Catalog::lookup("EC09")->description, Catalog::lookup("EC04")->description);

    const ErrorStatusSwift recovered = *Catalog::lookup("EC14");
    EXPECT_EQ(recovered.code, "EC14");
    EXPECT_EQ(recovered.title, "Recovered corrupted BP result");
    EXPECT_EQ(recovered.severity, Severity::warning);
    EXPECT_NE(recovered, Catalog::mainEntries().value("EC14"));
    EXPECT_EQ(Catalog::lookup("EC94")->code, "EC94");

    EXPECT_EQ(Catalog::lookup("EC05")->title, "BP result corrupted (not recoverable)");
    EXPECT_EQ(Catalog::lookup("EC13")->title, "Office Check Mode reinstated");
    EXPECT_EQ(Catalog::lookup("EC22")->severity, Severity::critical);
}

TEST(ErrorCatalogTest, LookupTrimsAndUpperCases)
{
    const ErrorStatusSwift ec02 = *Catalog::lookup("EC02");
    EXPECT_EQ(Catalog::lookup("ec02"), ec02);
    EXPECT_EQ(Catalog::lookup(" \tEc02\n"), ec02);
    EXPECT_EQ(Catalog::lookup("lll")->code, "LLL");
    EXPECT_EQ(Catalog::lookup("Lbb")->code, "Lbb");
    EXPECT_EQ(Catalog::lookup("Lbb")->title, "Low backup battery");
    EXPECT_FALSE(Catalog::lookup("EC77"));
    EXPECT_FALSE(Catalog::lookup("EC"));
    EXPECT_FALSE(Catalog::lookup(""));
    EXPECT_FALSE(Catalog::lookup("EC104")) << "the pattern matches the whole key only";
}

TEST(ErrorCatalogTest, TextsStandAsTheMonitorsOwn)
{
    EXPECT_EQ(Catalog::lookup("EC42")->description, "No cuff attached EC42.| Ensure that the cuff is attached.");
    EXPECT_EQ(Catalog::lookup("EC15")->description, "Equipment malfunction EC15.| Stop teh usage and return for service.");
    EXPECT_EQ(Catalog::lookup("EC82")->description, "Unkink/inspect hose.");
    EXPECT_EQ(Catalog::lookup("EC08")->description.left(40), "Umbrella event code EC08 (+ EC18, EC28, ");
}

TEST(ErrorCatalogTest, SeverityReadsOnlyItsRawValues)
{
    EXPECT_EQ(SeverityText::fromRawValue("WARNING"), Severity::warning);
    EXPECT_EQ(SeverityText::fromRawValue("CRITICAL"), Severity::critical);
    EXPECT_FALSE(SeverityText::fromRawValue("warning"));
    EXPECT_EQ(SeverityText::rawValue(Severity::info), "INFO");
}
