#include "common/Clock.h"
#include "web/WebDroneName.h"
#include "web/WebPairing.h"

#include <QRegularExpression>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

class WebPairingTest : public testing::Test
{
protected:
    WebPairingTest() { forget(); Clock::install(clock); }
    ~WebPairingTest() override { Clock::install(nullptr); forget(); }
    static void forget() { QSettings().remove(QString::fromLatin1(WebPairing::settingsKey)); }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
    WebPairing pairing;
};

} // namespace

TEST_F(WebPairingTest, OneTimeSecretGivesACodeOnceWithinTenMinutes)
{
    const QString secret = pairing.newPairingSecret();
    EXPECT_FALSE(pairing.startPairing(secret + "x"));
    clock->advanceMs(WebPairing::pairingValidMs - 1000);
    const auto code = pairing.startPairing(secret);
    ASSERT_TRUE(code);
    EXPECT_TRUE(QRegularExpression("^[0-9]{6}$").match(*code).hasMatch()) << code->toStdString();
    EXPECT_EQ(pairing.pendingCode(), *code);
    EXPECT_FALSE(pairing.startPairing(secret)) << "used once";

    const QString late = pairing.newPairingSecret();
    clock->advanceMs(WebPairing::pairingValidMs);
    EXPECT_FALSE(pairing.startPairing(late));
    EXPECT_TRUE(pairing.pendingCode().isEmpty()) << "a new secret voids the code waiting";
}

TEST_F(WebPairingTest, ConfirmedBrowserIsKnownUntilForgotten)
{
    EXPECT_FALSE(pairing.confirm()) << "nothing to confirm";
    ASSERT_TRUE(pairing.startPairing(pairing.newPairingSecret()));
    const auto secret = pairing.confirm();
    ASSERT_TRUE(secret);
    EXPECT_FALSE(pairing.confirm()) << "confirmed once";
    EXPECT_TRUE(WebPairing().knows(*secret)) << "kept in the settings";
    EXPECT_FALSE(pairing.knows(QString()));
    EXPECT_FALSE(pairing.knows(*secret + "x"));
    EXPECT_NE(QSettings().value(QString::fromLatin1(WebPairing::settingsKey)).toString(), *secret)
        << "only a digest is stored";
    pairing.forget();
    EXPECT_FALSE(pairing.knows(*secret));
    EXPECT_FALSE(pairing.hasPairedDrone());
}

TEST(WebDroneName, TypedNameElseTheBrowserFromItsUserAgent)
{
    const char *chrome = "Mozilla/5.0 (Linux; Android 13; SM-X200) AppleWebKit/537.36 (KHTML, like Gecko) "
                         "Chrome/120.0.0.0 Safari/537.36";
    // The name typed, the user agent, the name shown.
    const std::tuple<QString, QString, QString> cases[] = {
        {"", chrome, "Tablet (Chrome)"},
        {"", "Mozilla/5.0 (iPad; CPU OS 17_0 like Mac OS X) AppleWebKit/605.1.15 (KHTML, like Gecko) Version/17.0 "
             "Mobile/15E148 Safari/604.1",
         "Tablet (Safari)"},
        {"", "Mozilla/5.0 (X11; Linux x86_64; rv:115.0) Gecko/20100101 Firefox/115.0", "Tablet (Firefox)"},
        {"", QString(chrome) + " Edg/120.0.0.0", "Tablet (Edge)"},
        {"", QString(chrome) + " SamsungBrowser/23.0", "Tablet (Samsung Internet)"},
        {"", "curl/8.0", "Tablet (Browser)"},
        {"  Room 2  tablet ", chrome, "Room 2 tablet"},
        {"a\u2028b", chrome, "a b"},
        {"a\x01" "b", chrome, "a\\x01b"},
        {QString(60, 'x'), chrome, QString(WebDroneName::maximumLength, 'x')},
    };
    for (const auto &[typed, agent, name] : cases)
        EXPECT_EQ(WebDroneName::of(typed, agent), name) << agent.toStdString();
}
