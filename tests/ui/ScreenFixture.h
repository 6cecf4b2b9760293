#pragma once

#include "WindowFixture.h"
#include "common/Clock.h"
#include "report/AppInfo.h"
#include "report/MailComposer.h"
#include "report/UrlOpener.h"
#include "run/ScreenModels.h"
#include "run/Tavoren3App.h"
#include "support/CountingSoundPlayer.h"
#include "support/TestProtocol.h"
#include "tasks/HapticFeedback.h"
#include "web/WebDroneServer.h"

// No address is opened and no mail leaves a test that sets up no mail of its own.
struct NoUrlOpener : UrlOpener
{
    void open(const QUrl &) override {}
};
struct NoMailComposer : MailComposer
{
    void canSendMail(std::function<void(bool)> answered) override { answered(false); }
    void present(const MailComposeView &, std::function<void(const QString &)> finished) override { finished({}); }
};

// The timekeeper's window, mailing through the given composer.
class ScreenFixture : public WindowFixture
{
protected:
    ScreenFixture() : ScreenFixture(composer) {}
    explicit ScreenFixture(MailComposer &mailComposer);
    ~ScreenFixture() override;

    // Clicks that button of the named alert.
    void answer(const QString &alert, const QString &button) { click("alertButton " + button, find(alert)); }
    static DeelTestje step(qint64 numID, const QString &name, const QString &label, qint64 duration,
                           const QList<OptionalViewSettings> &views = {})
    {
        return TestProtocol::step(numID, name, label, duration, views);
    }
    // Writes the protocol and lets the start screen list it.
    void addProtocol(const QString &fileName, const TestProtocol &protocol);

    // Outside December, so the yearly update reminder stays away.
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(QDateTime(QDate(2026, 6, 1), QTime(10, 0)));
    CountingSoundPlayer sound;
    NoUrlOpener urlOpener;
    NoMailComposer composer;
    HapticFeedback haptics;
    std::unique_ptr<Tavoren3App> app;
    // The chooser's tablet page, off until switched on, on loopback as the tests run.
    std::unique_ptr<WebDroneServer> webDrone;
    AppInfo appInfo{QStringLiteral("3.0.0"), QStringLiteral("7")};
    std::unique_ptr<ScreenModels> models;
};
