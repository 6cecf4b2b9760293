#pragma once

#include "model/DeelTestje.h"
#include "model/OptionalViewSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A protocol written out for a test, as the editor would save it.
struct TestProtocol
{
    QString researchName{};
    QString version = QStringLiteral("1");
    bool usesDrone = false;
    QList<DeelTestje> steps{};
    QString description{};

    static DeelTestje step(qint64 numID, const QString &name, const QString &label, qint64 duration,
                           const QList<OptionalViewSettings> &views = {});
    QByteArray json() const;
};
