#include "common/Clock.h"
#include "report/AppInfo.h"
#include "report/BackgroundViewModel.h"
#include "report/UpdateManifest.h"
#include "report/VersionComparison.h"
#include "support/ConsoleCapture.h"
#include "support/LoopbackHttpServer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QByteArray manifest(const QString &version, const QString &build)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>items</key><array><dict>
<key>assets</key><array/>
<key>metadata</key><dict>
<key>bundle-identifier</key><string>org.example.tavoren</string>
<key>bundle-version</key><string>%1</string>
<key>build</key><string>%2</string>
<key>title</key><string>tavoren</string>
</dict></dict></array></dict></plist>)")
        .arg(version, build)
        .toUtf8();
}

bool newerThan(const QString &version, const QString &build, const QString &serverVersion,
               const std::optional<QString> &serverBuild)
{
    AppInfo info(version, build);
    info.takeManifest(serverBuild ? manifest(serverVersion, *serverBuild)
                                  : QStringLiteral(R"(<plist version="1.0"><dict><key>items</key><array><dict>
<key>metadata</key><dict><key>bundle-version</key><string>%1</string></dict></dict></array></dict></plist>)")
                                        .arg(serverVersion)
                                        .toUtf8());
    return info.isNewVersionAvailable();
}

class RecordingOpener : public UrlOpener
{
public:
    void open(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
};

class UpdateCheck : public ::testing::Test
{
protected:
    UpdateCheck() { Clock::install(clock); }
    ~UpdateCheck() override { Clock::install(nullptr); }
    std::shared_ptr<ManualClock> clock =
        std::make_shared<ManualClock>(QDateTime(QDate(2026, 6, 15), QTime(9, 30)));
};

} // namespace

TEST(VersionComparisonRules, Normalisation)
{
    EXPECT_EQ(VersionComparison::normalise("V1.5.0-beta"), (QList<qint64>{1, 5, 0}));
    EXPECT_EQ(VersionComparison::normalise("1..2."), (QList<qint64>{1, 2}));
    EXPECT_TRUE(VersionComparison::normalise("no").isEmpty());
    EXPECT_EQ(VersionComparison::normalise("99999999999999999999").value(0), std::numeric_limits<qint64>::max());
}

TEST(VersionComparisonRules, NewerVersionOrBuild)
{
    EXPECT_TRUE(newerThan("1.4.2", "7", "1.5.0", "1"));
    EXPECT_FALSE(newerThan("1.5.0", "7", "1.4.9", "99"));
    EXPECT_TRUE(newerThan("1.5.0", "12", "1.5.0", "13"));
    EXPECT_FALSE(newerThan("1.5.0", "13", "1.5.0", "13"));
    EXPECT_FALSE(newerThan("1.5.0", "14", "1.5.0", "13"));
    EXPECT_TRUE(newerThan("1.5.0", "no", "1.5.0", "1")) << "a build without number is older than any";
    EXPECT_FALSE(newerThan("1.5.0", "12", "1.5.0", std::nullopt));
    // The open cases: missing parts count as 0; an empty server version or build announces nothing.
    EXPECT_FALSE(newerThan("1.5", "1", "1.5.0", "1"));
    EXPECT_TRUE(newerThan("1.5", "1", "1.5.1", "1"));
    EXPECT_FALSE(newerThan("1.5.0", "1", "beta", "9"));
    EXPECT_FALSE(newerThan("1.5.0", "1", "1.5.0", "none"));
    EXPECT_TRUE(newerThan("no version info", "1", "0.1", "1"));
}

TEST(ManifestParsing, ReadsTheFirstItemsMetadata)
{
    const UpdateManifest parsed = UpdateManifest::parse(manifest("2.0.1", "44"));
    EXPECT_TRUE(parsed.hasMetadata);
    EXPECT_EQ(parsed.version, QString("2.0.1"));
    EXPECT_EQ(parsed.build, QString("44"));
}

TEST(ManifestParsing, OddManifestsLeaveTheKnownValues)
{
    ConsoleCapture console;
    AppInfo info("1.0", "1");
    info.takeManifest(manifest("2.0", "5"));
    for (const QByteArray &odd :
         {QByteArray("not a plist"), QByteArray(R"(<plist version="1.0"><array/></plist>)"),
          QByteArray(R"(<plist version="1.0"><dict><key>items</key><array/></dict></plist>)"),
          QByteArray(R"(<plist version="1.0"><dict><key>items</key><array><dict><key>metadata</key>
             <dict><key>build</key><integer>3</integer></dict></dict></array></dict></plist>)")}) {
        info.takeManifest(odd);
        EXPECT_EQ(info.serverVersion(), QString("2.0")) << odd.toStdString();
        EXPECT_EQ(info.serverBuild(), QString("5"));
    }
    EXPECT_TRUE(console.contains("Error parsing plist: The data couldn't be read because it isn't in the correct format."));
    EXPECT_TRUE(console.contains("version 2.0 build 5"));
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

TEST_F(UpdateCheck, FetchFromARealServerAndRemindLater)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.isRunning());
    server.serve("manifest.plist", manifest("9.0", "1"));
    AppInfo info("1.0", "1");
    info.setManifestUrl(server.url("manifest.plist"));
    RecordingOpener opener;
    BackgroundViewModel background(info, opener);
    QSignalSpy finished(&background, &BackgroundViewModel::checkFinished);

    background.appeared();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(info.serverVersion(), QString("9.0"));
    EXPECT_TRUE(background.showingUpdateAlertView());
    EXPECT_EQ(background.newVersionText(), " New version 9.0\t Build: 1");
    EXPECT_EQ(background.currentVersionText(), " Current version 1.0 \t Build: 1");

    background.remindMeLater();
    EXPECT_EQ(info.remindLaterDate(), QDateTime(QDate(2026, 6, 22), QTime(12, 0)));
    background.appeared();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(background.showingUpdateAlertView()) << "reminded later";

    clock->set(QDateTime(QDate(2026, 6, 22), QTime(12, 0, 1)));
    background.appeared();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(background.showingUpdateAlertView());
}

TEST_F(UpdateCheck, DecemberOpensTheAlertUntilTheCheckAnswers)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.isRunning());
    server.serve("manifest.plist", manifest("1.0", "1"));
    clock->set(QDateTime(QDate(2026, 12, 11), QTime(8, 0)));
    AppInfo info("1.0", "1");
    info.setManifestUrl(server.url("manifest.plist"));
    RecordingOpener opener;
    BackgroundViewModel background(info, opener);
    QSignalSpy finished(&background, &BackgroundViewModel::checkFinished);
    background.appeared();
    EXPECT_TRUE(background.showingUpdateAlertView());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(background.showingUpdateAlertView());

    clock->set(QDateTime(QDate(2026, 12, 10), QTime(8, 0)));
    background.appeared();
    EXPECT_FALSE(background.showingUpdateAlertView());
    ASSERT_TRUE(finished.wait(10000));
}

TEST_F(UpdateCheck, FailedFetchKeepsEarlierAnswerAndButtonsOpenAddresses)
{
    AppInfo info("1.0", "1");
    info.setManifestUrl(QUrl("http://127.0.0.1:1/manifest.plist"));
    RecordingOpener opener;
    BackgroundViewModel background(info, opener);
    QSignalSpy finished(&background, &BackgroundViewModel::checkFinished);
    background.appeared();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(background.showingUpdateAlertView());
    EXPECT_EQ(background.newVersionText(), " New version No Version Info\t Build: No Build available ");

    background.goToInstallerWebSite();
    background.install();
    ASSERT_EQ(opener.opened.size(), 2);
    EXPECT_EQ(opener.opened.at(0), AppInfo::installerUrl());
    EXPECT_EQ(opener.opened.at(1).toString(),
              "itms-services://?action=download-manifest&url=http://127.0.0.1:1/manifest.plist");
}
