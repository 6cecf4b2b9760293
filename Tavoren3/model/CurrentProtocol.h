#pragma once

#include "model/Run.h"

#include <QObject>
#include <QString>

// The one protocol being edited or run, and the protocol name copied when a
// run starts (it names the label-file folder for the whole run).
class CurrentProtocol : public QObject
{
    Q_OBJECT
    Q_PROPERTY(Run *currentProtocol READ currentProtocol CONSTANT)
    Q_PROPERTY(QString currentProtocolName READ currentProtocolName WRITE setCurrentProtocolName NOTIFY
                   currentProtocolNameChanged)

public:
    explicit CurrentProtocol(QObject *parent = nullptr);

    // Filled from the default protocol on first use.
    Run *currentProtocol();

    QString currentProtocolName() const { return m_name; }
    void setCurrentProtocolName(const QString &name);

signals:
    void currentProtocolNameChanged();

private:
    Run m_run;
    bool m_loaded = false;
    QString m_name;
};
