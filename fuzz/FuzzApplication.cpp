#include "FuzzApplication.h"

#include "common/Clock.h"
#include "common/DocumentsFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <memory>

void FuzzApplication::ensure()
{
    static int argc = 1;
    static char name[] = "tavoren-fuzz";
    static char *argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    qputenv("TAVOREN_DISCOVERY", "loopback");
    new QCoreApplication(argc, argv);
    Clock::install(std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 6), QTime(12, 34))));
    DocumentsFolder::setOverride(QString());
}

void FuzzApplication::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    // Objects let go of with deleteLater go now, not at the end of the run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
