#include "common/Clock.h"
#include "report/AppInfo.h"
#include "report/BackgroundViewModel.h"
#include "report/UpdateManifest.h"
#include "report/VersionComparison.h"
#include "support/LoopbackHttpServer.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

QByteArray manifest(const QString &version, const std::optional<QString> &build)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>items</key><array><dict><key>assets</key><array/><key>metadata</key><dict>
<key>bundle-identifier</key><string>org.example.tavoren</string><key>bundle-version</key><string>%1</string>%2
<key>title</key><string>tavoren</string></dict></dict></array></dict></plist>)")
        .arg(version, build ? "<key>build</key><string>" + *build + "</string>" : QString())
        .toUtf8();
}

class RecordingOpener : public UrlOpener
{
public:
    void open(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
};

// The start screen's background, its manifest served on loopback.
class UpdateCheck : public ::testing::Test
{
protected:
    UpdateCheck()
    {
        Clock::install(clock);
        QObject::connect(&silent, &QTcpServer::newConnection, [this] { delete silent.nextPendingConnection(); });
    }
    ~UpdateCheck() override { Clock::install(nullptr); }

    // Serves body as the manifest (with none, the connection closes unanswered), then the screen
    // appears: whether the alert shows at once, and once the check has answered.
    std::pair<bool, bool> appear(const std::optional<QByteArray> &body)
    {
        EXPECT_TRUE(server.isRunning() && (silent.isListening() || silent.listen(QHostAddress::LocalHost)));
        server.serve("manifest.plist", body.value_or(""));
        info.setManifestUrl(body ? server.url("manifest.plist")
                                 : QUrl(QString("http://127.0.0.1:%1/manifest.plist").arg(silent.serverPort())));
        background.appeared();
        const bool atOnce = background.showingUpdateAlertView();
        EXPECT_TRUE(finished.wait(10000));
        return {atOnce, background.showingUpdateAlertView()};
    }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(QDateTime(QDate(2026, 6, 15), QTime(9, 30)));
    LoopbackHttpServer server;
    QTcpServer silent;
    AppInfo info{"1.0", "1"};
    RecordingOpener opener;
    BackgroundViewModel background{info, opener};
    QSignalSpy finished{&background, &BackgroundViewModel::checkFinished};
};

} // namespace

TEST(VersionComparisonRules, NormalisationAndNewerVersionOrBuild)
{
    EXPECT_EQ(VersionComparison::normalise("V1.5.0-beta"), (QList<qint64>{1, 5, 0}));
    EXPECT_EQ(VersionComparison::normalise("1..2."), (QList<qint64>{1, 2}));
    EXPECT_TRUE(VersionComparison::normalise("no").isEmpty());
    EXPECT_EQ(VersionComparison::normalise("99999999999999999999").value(0), std::numeric_limits<qint64>::max());

    // Missing parts count as 0; a build without number is older than any; an
    // empty server version or build announces nothing.
    const struct
    {
        const char *version, *build, *serverVersion;
        std::optional<QString> serverBuild;
        bool newer;
    } cases[] = {{"1.4.2", "7", "1.5.0", "1", true},     {"1.5.0", "7", "1.4.9", "99", false},
                 {"1.5.0", "12", "1.5.0", "13", true},   {"1.5.0", "13", "1.5.0", "13", false},
                 {"1.5.0", "14", "1.5.0", "13", false},  {"1.5.0", "no", "1.5.0", "1", true},
                 {"1.5.0", "12", "1.5.0", {}, false},    {"1.5", "1", "1.5.0", "1", false},
                 {"1.5", "1", "1.5.1", "1", true},       {"1.5.0", "1", "beta", "9", false},
                 {"1.5.0", "1", "1.5.0", "none", false}, {"no version info", "1", "0.1", "1", true}};
    for (const auto &c : cases) {
        AppInfo info(c.version, c.build);
        info.takeManifest(manifest(c.serverVersion, c.serverBuild));
        EXPECT_EQ(info.isNewVersionAvailable(), c.newer) << c.version << " " << c.build << " / " << c.serverVersion;
    }
}

TEST(ManifestParsing, BinaryListsWithAZeroByteInTheirTextAreRefused)
{
    // items[0].metadata with the UTF-16 key "b\u00fc\0ld", then with the UTF-16 value "7\u00fc\0" under "build".
    for (const char *hex :
         {"62706c6973743030d10102556974656d73a103d10405586d65746164617461d1060765006200fc0000006c00645137080b1113161f"
          "222d000000000000010100000000000000080000000000000000000000000000002f",
          "62706c6973743030d10102556974656d73a103d10405586d65746164617461d10607556275696c6463003700fc0000080b111316"
          "1f2228000000000000010100000000000000080000000000000000000000000000002f"}) {
        const UpdateManifest parsed = UpdateManifest::parse(QByteArray::fromHex(hex));
        EXPECT_FALSE(parsed.parsed) << hex;
        EXPECT_EQ(parsed.error, "The data couldn't be read because it isn't in the correct format.");
        EXPECT_FALSE(parsed.build);
    }
}

TEST_F(UpdateCheck, TheAlertFollowsTheAnswerTheDateAndTheReminder)
{
    const QDate june(2026, 6, 15);
    const struct
    {
        QDate today;
        std::optional<QByteArray> served;
        std::pair<bool, bool> alert; // at once, after the answer
        const char *known;           // the server's version and build shown after it
    } cases[] = {
        {june, manifest("1.0", "1"), {false, false}, "1.0\t Build: 1"},
        {june, manifest("9.0", "1"), {false, true}, "9.0\t Build: 1"},
        // No answer, or one that is not a manifest of strings, keeps the earlier one.
        {june, std::nullopt, {false, true}, "9.0\t Build: 1"},
        {june, "not a plist", {false, true}, "9.0\t Build: 1"},
        {june, R"(<plist version="1.0"><array/></plist>)", {false, true}, "9.0\t Build: 1"},
        {june, R"(<plist version="1.0"><dict><key>items</key><array/></dict></plist>)", {false, true}, "9.0\t Build: 1"},
        {june, R"(<plist version="1.0"><dict><key>items</key><array><dict><key>metadata</key>
             <dict><key>build</key><integer>3</integer></dict></dict></array></dict></plist>)", {false, true}, "9.0\t Build: 1"},
        // From the 11th of December the alert opens until the check answers.
        {QDate(2026, 12, 11), manifest("1.0", "1"), {true, false}, "1.0\t Build: 1"},
        {QDate(2026, 12, 10), manifest("1.0", "1"), {false, false}, "1.0\t Build: 1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.served.value_or("no answer").toStdString());
        clock->set(QDateTime(c.today, QTime(8, 0)));
        EXPECT_EQ(appear(c.served), c.alert);
        EXPECT_EQ(background.newVersionText(), QString(" New version ") + c.known);
        background.noThanks();
    }

    // "Remind me later" waits a week; the buttons open their addresses.
    clock->set(QDateTime(june, QTime(9, 30)));
    background.remindMeLater();
    EXPECT_EQ(info.remindLaterDate(), QDateTime(QDate(2026, 6, 22), QTime(12, 0)));
    EXPECT_EQ(appear(manifest("9.0", "1")), std::make_pair(false, false));
    clock->set(QDateTime(QDate(2026, 6, 22), QTime(12, 0, 1)));
    EXPECT_EQ(appear(manifest("9.0", "1")), std::make_pair(false, true));
    background.goToInstallerWebSite();
    background.install();
    EXPECT_FALSE(background.showingUpdateAlertView());
    EXPECT_EQ(opener.opened, (QList<QUrl>{AppInfo::installerUrl(), QUrl("itms-services://?action=download-manifest&url="
                                                                        + server.url("manifest.plist").toString())}));
}
