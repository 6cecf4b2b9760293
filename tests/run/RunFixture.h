#pragma once

#include "bridge/BleBackend.h"
#include "common/Clock.h"
#include "drone/MultipeerSession.h"
#include "model/CurrentProtocol.h"
#include "run/VerkeersLeiding.h"
#include "support/ConsoleCapture.h"
#include "support/CountingSoundPlayer.h"
#include "support/LabelLogLines.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"

#include <QStringList>
#include <gtest/gtest.h>

// A controller on a fixed clock and a temporary documents folder, with no
// drone; every state it sends is recorded.
class RunFixture : public ::testing::Test
{
protected:
    RunFixture()
    {
        Clock::install(clock);
        BleBackend::setUseSimulator(true);
        QObject::connect(&session, &MultipeerSession::stateQueued, [this](const QString &p) { sent.append(p); });
    }
    ~RunFixture() override { Clock::install(nullptr); }

    // A step named after its label, in capitals.
    static DeelTestje step(qint64 numID, const QString &label, qint64 duration, QList<OptionalViewSettings> views = {})
    {
        return TestProtocol::step(numID, label.toUpper(), label, duration, views);
    }

    void useSteps(const QList<DeelTestje> &steps, const QString &name = QStringLiteral("Study"))
    {
        ::Run *run = protocol.currentProtocol();
        run->setVersion("1");
        run->setResearchName(name);
        run->setSteps(steps);
    }

    void startAt(const QString &ppid = QStringLiteral("42"))
    {
        controller.setPPID(ppid);
        controller.setRunTimestamp("20261205_100000");
        controller.startRun();
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock->advanceMs(1000);
            controller.tick();
        }
    }

    QStringList logLines() const { return labelLogLines(controller); }

    // The controller at a glance: step index and seconds left, then the flags that are set.
    QString status() const
    {
        QString all = QStringLiteral("step %1, %2 s").arg(controller.nr()).arg(controller.remainingTime());
        for (const auto &[set, name] : {std::pair(controller.running(), "running"), std::pair(controller.pause(), "paused"),
                                        std::pair(controller.isCompleted(), "completed"),
                                        std::pair(controller.showSliderAdvanceAlert(), "warning"),
                                        std::pair(controller.shouldReturnToHome(), "home")})
            all += set ? QString(", ") + name : QString();
        return all;
    }

    std::shared_ptr<ManualClock> clock =
        std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0, 0)));
    TemporaryDocuments documents;
    ConsoleCapture console;
    CurrentProtocol protocol;
    CountingSoundPlayer sound;
    MultipeerSession session{QStringLiteral("timekeeper")};
    VerkeersLeiding controller{session, protocol, sound};
    QStringList sent;
};
