#pragma once

#include "bridge/BLEDeviceBrowserView.h"
#include "bridge/EspBleCentral.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class VerkeersLeiding;

// The blood-pressure step: finding and dropping the bridge, starting and
// stopping a measurement, and writing each finished result or error advice
// into the run's label file.
class BloodPersureView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(BloodPersureViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(EspBleCentral *central READ central CONSTANT)
    Q_PROPERTY(BLEDeviceBrowserView *deviceBrowser READ deviceBrowser CONSTANT)
    Q_PROPERTY(bool showDeviceBrowser READ showDeviceBrowser WRITE setShowDeviceBrowser NOTIFY showDeviceBrowserChanged)
    Q_PROPERTY(bool hasSelectedDevice READ hasSelectedDevice NOTIFY hasSelectedDeviceChanged)
    Q_PROPERTY(QString statusColor READ statusColor NOTIFY changed)
    Q_PROPERTY(QString displayLine READ displayLine NOTIFY changed)
    Q_PROPERTY(QString lastLine READ lastLine NOTIFY changed)
    Q_PROPERTY(QString deviceButtonText READ deviceButtonText NOTIFY changed)
    Q_PROPERTY(QString measurementButtonText READ measurementButtonText NOTIFY changed)
    Q_PROPERTY(bool measurementButtonEnabled READ measurementButtonEnabled NOTIFY changed)

public:
    static constexpr int pulseLength = 500;
    static const QString cancelledMeasurementAdvice;

    explicit BloodPersureView(VerkeersLeiding &manager, QObject *parent = nullptr);

    EspBleCentral *central() const { return &m_central; }
    BLEDeviceBrowserView *deviceBrowser() const { return m_deviceBrowser; }
    bool showDeviceBrowser() const { return m_showDeviceBrowser; }
    void setShowDeviceBrowser(bool show);
    bool hasSelectedDevice() const { return m_hasSelectedDevice; }
    QString lastLoggedMeasurement() const { return m_lastLoggedMeasurement; }

    QString statusColor() const;
    QString displayLine() const;
    QString lastLine() const;
    QString deviceButtonText() const;
    QString measurementButtonText() const;
    bool measurementButtonEnabled() const;

    Q_INVOKABLE void appeared();
    // "Find Device" / "Change Device" open the browser; "Disconnect" drops the link.
    Q_INVOKABLE void deviceButtonPressed();
    Q_INVOKABLE void startStopMeasurement();
    Q_INVOKABLE void disconnect();

signals:
    void showDeviceBrowserChanged();
    void hasSelectedDeviceChanged();
    void changed();

private:
    void setHasSelectedDevice(bool selected);
    void connectionChanged();
    void logMeasurement();

    VerkeersLeiding &m_manager;
    EspBleCentral &m_central;
    BLEDeviceBrowserView *m_deviceBrowser;
    bool m_showDeviceBrowser = false;
    bool m_hasSelectedDevice;
    QString m_lastLoggedMeasurement;
    bool m_wasConnected;
};
