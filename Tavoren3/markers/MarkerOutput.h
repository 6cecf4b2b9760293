#pragma once

#include "markers/Marker.h"
#include "markers/MarkerSettings.h"
#include "run/VerkeersLeiding.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <QtQml/qqmlregistration.h>

class Run;
class SerialMarkerWriter;

// Markers in the physiological recording: the run's boundaries as codes on
// a trigger box, written on a thread of their own so that the run never
// waits for the port. Every marker, sent or not, goes into the event log.
class MarkerOutput : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY stateChanged)
    Q_PROPERTY(bool lost READ lost NOTIFY stateChanged)
    Q_PROPERTY(QString lostText READ lostText CONSTANT)

public:
    enum class State { None, Opening, Ready, Failed, Lost };
    Q_ENUM(State)

    // The code Send test marker puts out.
    static constexpr int testCode = 255;

    explicit MarkerOutput(QObject *parent = nullptr);
    ~MarkerOutput() override;

    State state() const { return m_state; }
    // "Trigger box: /dev/ttyUSB0, ready", "No trigger box", ...
    QString statusText() const;
    bool lost() const { return m_state == State::Lost; }
    QString lostText() const { return QStringLiteral("Trigger box lost"); }
    const MarkerSettings &settings() const { return m_settings; }
    // A port is set, whether or not it opened.
    bool inUse() const { return !m_settings.port.isEmpty(); }

    // Takes these settings; the port is opened on the writer's thread.
    void apply(const MarkerSettings &settings);
    // Marks the controller's boundaries from now on, as they happen.
    void follow(VerkeersLeiding &controller);
    // Puts a marker out, or into the event log as not sent; nothing without a box.
    void mark(Marker marker);
    Q_INVOKABLE void sendTestMarker();

    // What the start checks say about run while a box is in use; empty otherwise.
    QString startCaution(const Run &run) const;

signals:
    void stateChanged();
    // After its event log line.
    void markerSent(const Marker &marker);
    void markerNotSent(const Marker &marker, const QString &reason);

private:
    void setState(State state, const QString &reason = QString());
    void sent(const Marker &marker);
    void notSent(const Marker &marker, const QString &reason);

    QThread m_thread;
    SerialMarkerWriter *m_writer;
    MarkerSettings m_settings;
    State m_state = State::None;
    QString m_reason;
};
