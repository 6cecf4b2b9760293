#include "bridge/BloodPersureView.h"

#include "bridge/BLEDeviceBrowserView.h"
#include "bridge/EspBleCentral.h"
#include "common/Console.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

const QString BloodPersureView::cancelledMeasurementAdvice = QStringLiteral(
    "The measurement was either manually cancelled by the participant or the Office Check Mode was instated "
    "(unlikely). You can safely retry in a minute.");

BloodPersureView::BloodPersureView(VerkeersLeiding &manager, QObject *parent)
    : QObject(parent), m_manager(manager), m_central(*manager.bleManager()),
      m_deviceBrowser(new BLEDeviceBrowserView(m_central, this)),
      // A link kept from an earlier step can be used at once.
      m_hasSelectedDevice(m_central.isConnected()), m_wasConnected(m_central.isConnected())
{
    for (auto signal : {&EspBleCentral::isConnectedChanged, &EspBleCentral::statusMessageChanged,
                        &EspBleCentral::displayTextChanged, &EspBleCentral::lastMeasurementChanged,
                        &EspBleCentral::isMeasuringChanged})
        QObject::connect(&m_central, signal, this, &BloodPersureView::changed);
    QObject::connect(&m_central, &EspBleCentral::isConnectedChanged, this, &BloodPersureView::connectionChanged);
    // The central sets a result and its status line, or an error's texts and
    // its flag, one after the other; the log reads them once all are set.
    QObject::connect(&m_central, &EspBleCentral::lastMeasurementChanged, this, &BloodPersureView::logMeasurement,
                     Qt::QueuedConnection);
    QObject::connect(m_deviceBrowser, &BLEDeviceBrowserView::isPresentedChanged, this,
                     [this] { setShowDeviceBrowser(m_deviceBrowser->isPresented()); });
}

void BloodPersureView::setShowDeviceBrowser(bool show)
{
    if (m_showDeviceBrowser == show)
        return;
    m_showDeviceBrowser = show;
    m_deviceBrowser->setIsPresented(show);
    emit showDeviceBrowserChanged();
}

void BloodPersureView::setHasSelectedDevice(bool selected)
{
    if (m_hasSelectedDevice == selected)
        return;
    m_hasSelectedDevice = selected;
    emit hasSelectedDeviceChanged();
    emit changed();
}

QString BloodPersureView::statusColor() const
{
    return m_central.isConnected() ? QStringLiteral("green") : QStringLiteral("gray");
}

QString BloodPersureView::displayLine() const
{
    return m_central.displayText().isEmpty() ? QString() : QStringLiteral("Display: ") + m_central.displayText();
}

QString BloodPersureView::lastLine() const
{
    return m_central.lastMeasurement().isEmpty() ? QString() : QStringLiteral("Last: ") + m_central.lastMeasurement();
}

QString BloodPersureView::deviceButtonText() const
{
    if (m_central.isConnected())
        return QStringLiteral("Disconnect");
    return m_hasSelectedDevice ? QStringLiteral("Change Device") : QStringLiteral("Find Device");
}

QString BloodPersureView::measurementButtonText() const
{
    return m_central.isMeasuring() ? QStringLiteral("Stop Measurement") : QStringLiteral("Start Measurement");
}

bool BloodPersureView::measurementButtonEnabled() const
{
    return m_hasSelectedDevice && m_central.isConnected();
}

void BloodPersureView::appeared()
{
    m_lastLoggedMeasurement.clear();
}

void BloodPersureView::deviceButtonPressed()
{
    if (m_central.isConnected())
        disconnect();
    else
        setShowDeviceBrowser(true);
}

void BloodPersureView::startStopMeasurement()
{
    if (!m_central.isConnected()) {
        Console::line(QStringLiteral("DEBUG ERROR: Cannot start measurement - not connected"));
        return;
    }
    m_central.sendPulse(pulseLength);
    if (!m_central.isMeasuring())
        m_manager.log(LogTime::logTimestamp() + QStringLiteral("\tBlood pressure measurement started..."));
}

void BloodPersureView::disconnect()
{
    m_central.cancelPeripheralConnection();
    m_central.resetLinkState();
    setHasSelectedDevice(false);
    m_central.setStatusMessage(QStringLiteral("Disconnected"));
    m_central.setSelectedDeviceName(QString());
    m_central.clearConnectedPeripheral();
}

void BloodPersureView::connectionChanged()
{
    const bool connected = m_central.isConnected();
    if (connected)
        setHasSelectedDevice(true);
    else if (m_wasConnected)
        setHasSelectedDevice(false);
    m_wasConnected = connected;
}

void BloodPersureView::logMeasurement()
{
    const QString measurement = m_central.lastMeasurement();
    if (m_central.errorOccured()) {
        // The headline is not logged, but it is handled: the same error
        // reported again logs its advice again.
        m_lastLoggedMeasurement = measurement;
        return;
    }
    if (measurement.isEmpty() || measurement == m_lastLoggedMeasurement)
        return;
    if (measurement.trimmed() != cancelledMeasurementAdvice && !m_manager.pause())
        m_manager.log(LogTime::logTimestamp() + QStringLiteral("\tBlood pressure: ") + m_central.statusMessage());
    m_lastLoggedMeasurement = measurement;
}
