#pragma once

#include "markers/MarkerSettings.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class MarkerOutput;

// The trigger box sheet: the system's serial ports, the settings being
// edited, and the test marker. Done takes the settings and remembers them.
class TriggerBoxViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool presented READ presented NOTIFY presentedChanged)
    Q_PROPERTY(QVariantList ports READ ports NOTIFY portsChanged)
    Q_PROPERTY(QString port READ port WRITE setPort NOTIFY draftChanged)
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY draftChanged)
    Q_PROPERTY(QList<int> speeds READ speeds CONSTANT)
    // Where the speed stands in speeds.
    Q_PROPERTY(int speedIndex READ speedIndex NOTIFY draftChanged)
    Q_PROPERTY(int pulseWidth READ pulseWidth WRITE setPulseWidth NOTIFY draftChanged)
    Q_PROPERTY(bool hold READ hold WRITE setHold NOTIFY draftChanged)
    Q_PROPERTY(int endCode READ endCode WRITE setEndCode NOTIFY draftChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusTextChanged)

public:
    explicit TriggerBoxViewModel(MarkerOutput &output, QObject *parent = nullptr);

    bool presented() const { return m_presented; }
    Q_INVOKABLE void present();
    // Takes the settings, remembers them and closes the sheet.
    Q_INVOKABLE void done();
    Q_INVOKABLE void cancel();

    // Each: "name" (what the port is opened by), "text" (the line shown:
    // name, description, vendor:product), "description", "vendorId", "productId".
    QVariantList ports() const { return m_ports; }
    Q_INVOKABLE void refreshPorts();

    QString port() const { return m_draft.port; }
    void setPort(const QString &port);
    int speed() const { return m_draft.speed; }
    void setSpeed(int speed);
    static QList<int> speeds();
    int speedIndex() const { return int(speeds().indexOf(m_draft.speed)); }
    int pulseWidth() const { return m_draft.pulseWidthMs; }
    void setPulseWidth(int ms);
    bool hold() const { return m_draft.hold; }
    void setHold(bool hold);
    // 0 for none.
    int endCode() const { return m_draft.endCode; }
    void setEndCode(int code);
    QString statusText() const;

    // Takes the settings being edited (without remembering them) and sends the test code.
    Q_INVOKABLE void sendTestMarker();

signals:
    void presentedChanged();
    void portsChanged();
    void draftChanged();
    void statusTextChanged();

private:
    void edit(MarkerSettings draft);

    MarkerOutput &m_output;
    MarkerSettings m_draft;
    QVariantList m_ports;
    bool m_presented = false;
};
