// A tablet's browser as the drone: the timekeeper headless, the page in
// headless chromium, both on loopback.
#include "support/BrowserProcess.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TimekeeperProcess.h"

#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString instruction = QStringLiteral("Look at the cross");
const QString question = QStringLiteral("How calm do you feel?");

TestProtocol tabletProtocol()
{
    using S = TestProtocol;
    return {"Tablet run", "1", true,
            {S::step(1, "Rest", "rest", 4, {{"Timer (drone side)", {}}}),
             S::step(2, "Instruction", "instruction", 0, {{"Text (drone side)", {instruction}}}),
             S::step(3, "Pictures", "pictures", 0, {{"Images (drone side)", {"images.txt"}}}),
             S::step(4, "Breathing", "breathing", 0, {{"Breathing (drone side)", {"normal"}}}),
             // No buttons, starts by itself, goes on to black at its end.
             S::step(5, "Film", "film", 0, {{"Video (drone side)", {"clip.webm", "no", "yes", "yes"}}}),
             S::step(6, "Rating", "rating", 0, {{"Slider (drone side)", {question}}})}};
}

// Pages of both orientations kept for the documentation when TAVOREN_SCREENSHOTS names a folder.
void screenshots(BrowserProcess &browser, const QString &name)
{
    const QString folder = qEnvironmentVariable("TAVOREN_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    for (const auto &[width, height] : {std::pair{1024, 768}, std::pair{768, 1024}}) {
        browser.ask(QStringLiteral("size %1 %2").arg(width).arg(height));
        QTest::qWait(1200);
        browser.ask(QStringLiteral("screenshot %1/web-%2-%3x%4.png").arg(folder, name).arg(width).arg(height));
    }
    browser.ask("size 1024 768");
}

class WebDrone : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!BrowserProcess::available())
            GTEST_SKIP() << "chromium or tools/webdrone-test/node_modules missing (scripts/install-deps.sh)";
        documents.write("Research_protocols/tablet.json", tabletProtocol().json());
        timekeeper = std::make_unique<TimekeeperProcess>(documents.path(), QString(), QStringList{},
                                                         QStringList{"--web-port", "0"});
        browser = std::make_unique<BrowserProcess>();
    }

    // Switches the page on in the chooser; the pairing address.
    QString switchOn()
    {
        EXPECT_TRUE(timekeeper->waitUntil([&] { return timekeeper->click("runRow tablet.json"); }));
        EXPECT_TRUE(timekeeper->type("ppidField", "12"));
        EXPECT_TRUE(timekeeper->click("droneButton"));
        EXPECT_TRUE(timekeeper->click("webDroneSwitch"));
        const QString address = timekeeper->text("webDroneAddress");
        EXPECT_TRUE(QRegularExpression("^http://127\\.0\\.0\\.1:[0-9]+/$").match(address).hasMatch())
            << address.toStdString();
        return timekeeper->text("webDroneQrCode");
    }

    QString pageText(const QString &id) { return browser->eval("document.getElementById('" + id + "').innerText").toString(); }
    bool pageShows(const QString &id, const QString &text)
    {
        return browser->waitFor("document.getElementById('" + id + "').innerText === " + quoted(text));
    }
    static QString quoted(const QString &text) { return "'" + QString(text).replace("'", "\\'") + "'"; }
    QString labelFile()
    {
        const QStringList files = QDir(documents.filePath("Label_files/Tabletrun")).entryList({"*.lbl"}, QDir::Files);
        return files.size() != 1 ? QString() : QString::fromUtf8(documents.read("Label_files/Tabletrun/" + files.first()));
    }

    TemporaryDocuments documents;
    std::unique_ptr<TimekeeperProcess> timekeeper;
    std::unique_ptr<BrowserProcess> browser;
};

} // namespace

TEST_F(WebDrone, OnlyThePairedPageRunsTheProtocolAndItComesBackAfterAReload)
{
    // A second and a half of test picture, made here.
    ASSERT_EQ(QProcess::execute("ffmpeg", {"-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=10", "-t",
                                           "1.5", "-c:v", "libvpx", documents.filePath("clip.webm")}),
              0)
        << "ffmpeg (scripts/install-deps.sh)";
    const QString pairing = switchOn();
    ASSERT_TRUE(pairing.contains("#pair=")) << pairing.toStdString();

    // Without the secret, or with a wrong one, the page gets nothing, nor any media.
    const QString wrong = QString(pairing).replace(QRegularExpression("#pair=.*$"), "#pair=guessed");
    for (const QString &url : {timekeeper->text("webDroneAddress"), wrong}) {
        SCOPED_TRACE(url.toStdString());
        ASSERT_EQ(browser->ask("open " + url + " 1024 768"), "opened");
        ASSERT_TRUE(pageShows("askText", "Ask the operator for the pairing code"));
        QTest::qWait(1000);
        EXPECT_EQ(browser->eval("document.body.innerText.trim()").toString(), "Ask the operator for the pairing code");
        EXPECT_EQ(browser->eval("window.tavoren.received.length").toInt(), 0);
        EXPECT_FALSE(timekeeper->shown("webDroneCode"));
        EXPECT_FALSE(timekeeper->enabled("peerBrowserDone"));
    }
    screenshots(*browser, "ask");
    browser->eval("fetch('/media/images/sun.png').then(r => window.mediaStatus = r.status)");
    EXPECT_TRUE(browser->waitFor("window.mediaStatus === 404")) << browser->eval("window.mediaStatus").toInt();

    // Pairing: the same six digits on both screens, confirmed by the operator.
    ASSERT_EQ(browser->ask("open " + pairing + " 1024 768"), "opened");
    ASSERT_TRUE(browser->waitFor("document.getElementById('pairingCode').innerText.length === 6"));
    const QString code = pageText("pairingCode");
    ASSERT_TRUE(timekeeper->waitUntil([&] { return timekeeper->text("webDroneCode") == code; }))
        << code.toStdString();
    screenshots(*browser, "pairing");
    ASSERT_TRUE(timekeeper->click("webDroneConfirm"));
    ASSERT_TRUE(browser->waitFor("window.tavoren.linked"));
    EXPECT_FALSE(browser->eval("localStorage.getItem('tavorenDroneSecret')").toString().isEmpty());
    ASSERT_TRUE(timekeeper->waitUntil([&] { return timekeeper->enabled("peerBrowserDone"); }));
    ASSERT_TRUE(timekeeper->click("peerBrowserDone"));
    EXPECT_TRUE(QRegularExpression("^Drone device name: Tablet \\((Chrome|Chromium)\\)$")
                    .match(timekeeper->text("droneInfo"))
                    .hasMatch())
        << timekeeper->text("droneInfo").toStdString();

    // The countdown runs on the page.
    ASSERT_TRUE(timekeeper->click("startButton"));
    ASSERT_TRUE(browser->waitFor("/^00:0[1-4]$/.test(document.getElementById('digits').innerText)"));
    const QString first = pageText("digits");
    ASSERT_TRUE(browser->waitFor("document.getElementById('digits').innerText < " + quoted(first)))
        << first.toStdString();
    screenshots(*browser, "timer");

    ASSERT_TRUE(timekeeper->waitUntil([&] { return timekeeper->text("stepName") == "Instruction"; }, 15000));
    ASSERT_TRUE(pageShows("title", instruction));
    screenshots(*browser, "text");

    // A reload mid-step links again by itself and shows the step's state once more.
    const int receivedBefore = browser->eval("window.tavoren.received.length").toInt();
    ASSERT_GT(receivedBefore, 0);
    ASSERT_EQ(browser->ask("reload"), "reloaded");
    ASSERT_TRUE(browser->waitFor("window.tavoren.linked"));
    ASSERT_TRUE(pageShows("title", instruction));
    EXPECT_EQ(browser->eval("window.tavoren.shown").toArray(), QJsonArray{"text: " + instruction});

    // A state whose acknowledgement is lost comes again after 0.7 s and is shown once.
    browser->eval("window.tavoren.dropAcks(1)");
    ASSERT_TRUE(timekeeper->click("doneButton"));
    ASSERT_TRUE(browser->waitFor("window.tavoren.received.filter(r => r.endsWith('images: images.txt')).length === 2"));
    EXPECT_EQ(browser->eval("window.tavoren.shown.filter(s => s === 'images: images.txt').length").toInt(), 1);
    EXPECT_EQ(browser->eval("document.querySelectorAll('#grid img').length").toInt(), 4);
    ASSERT_TRUE(browser->waitFor("[...document.querySelectorAll('#grid img')].every(i => i.complete && i.naturalWidth > 0)"));
    screenshots(*browser, "images");

    ASSERT_TRUE(timekeeper->click("doneButton"));
    ASSERT_TRUE(pageShows("phase", "Breathe in"));
    screenshots(*browser, "breathing");

    // The film plays by itself without buttons and leaves a black screen at its end.
    ASSERT_TRUE(timekeeper->click("doneButton"));
    ASSERT_TRUE(browser->waitFor("window.tavoren.kind === 'video' && document.getElementById('player').currentTime > 0.3"))
        << browser->eval("document.getElementById('problem').innerText").toString().toStdString();
    EXPECT_EQ(browser->eval("getComputedStyle(document.getElementById('videoButton')).display").toString(), "none");
    ASSERT_TRUE(browser->waitFor("window.tavoren.kind === 'black'"));

    // A tap on 7 and Send: the rating in the label file.
    ASSERT_TRUE(timekeeper->click("doneButton"));
    ASSERT_TRUE(pageShows("question", question));
    screenshots(*browser, "slider");
    ASSERT_EQ(browser->ask("tap #ratingInput 0.7"), "tapped");
    ASSERT_TRUE(pageShows("value", "7"));
    ASSERT_EQ(browser->ask("click #send"), "clicked");
    ASSERT_TRUE(timekeeper->waitUntil([&] { return labelFile().contains("\t " + question + " 7"); }))
        << labelFile().toStdString();
    EXPECT_TRUE(pageShows("thanks", "Thank you"));
}
