#pragma once

#include "common/Clock.h"
#include "report/AppInfo.h"
#include "report/MailComposer.h"
#include "report/UrlOpener.h"
#include "run/ScreenModels.h"
#include "run/Tavoren3App.h"
#include "WindowFixture.h"
#include "support/CountingSoundPlayer.h"
#include "support/TestProtocol.h"
#include "tasks/HapticFeedback.h"

#include <memory>

class RecordingUrlOpener : public UrlOpener
{
public:
    void open(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
};

// Stands in for the desktop's mail program, which a test must not open.
class RecordingMailComposer : public MailComposer
{
public:
    void canSendMail(std::function<void(bool)> answered) override { answered(hasMailProgram); }
    void present(const MailComposeView &mail, std::function<void(const QString &)> finished) override
    {
        presented.append(mail);
        finished(QString());
    }
    bool hasMailProgram = false;
    QList<MailComposeView> presented;
};

// The timekeeper's window.
class ScreenFixture : public WindowFixture
{
protected:
    ScreenFixture() : ScreenFixture(composer) {}
    // A window whose completion screen mails through this composer.
    explicit ScreenFixture(MailComposer &mailComposer);
    ~ScreenFixture() override;

    void type(const QString &objectName, const QString &text);
    void writeProtocol(const QString &fileName, const QByteArray &json) const;

    static DeelTestje step(qint64 numID, const QString &name, const QString &label, qint64 duration,
                           const QList<OptionalViewSettings> &views = {})
    {
        return TestProtocol::step(numID, name, label, duration, views);
    }
    using Protocol = TestProtocol;
    // Writes the protocol and lets the start screen list it.
    void addProtocol(const QString &fileName, const Protocol &protocol);

    // Outside December, so the yearly update reminder stays away.
    std::shared_ptr<ManualClock> clock =
        std::make_shared<ManualClock>(QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0, 0)));
    CountingSoundPlayer sound;
    RecordingUrlOpener urlOpener;
    RecordingMailComposer composer;
    HapticFeedback haptics;
    std::unique_ptr<Tavoren3App> app;
    AppInfo appInfo{QStringLiteral("3.0.0"), QStringLiteral("7")};
    std::unique_ptr<ScreenModels> models;
};
