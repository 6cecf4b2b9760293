#include "markers/TriggerBoxViewModel.h"

#include "markers/MarkerOutput.h"

#include <QSerialPortInfo>

TriggerBoxViewModel::TriggerBoxViewModel(MarkerOutput &output, QObject *parent)
    : QObject(parent), m_output(output), m_draft(output.settings())
{
    connect(&m_output, &MarkerOutput::stateChanged, this, &TriggerBoxViewModel::statusTextChanged);
}

void TriggerBoxViewModel::present()
{
    m_draft = m_output.settings();
    emit draftChanged();
    refreshPorts();
    m_presented = true;
    emit presentedChanged();
}

void TriggerBoxViewModel::done()
{
    m_draft.save();
    if (!(m_draft == m_output.settings()))
        m_output.apply(m_draft);
    m_presented = false;
    emit presentedChanged();
}

void TriggerBoxViewModel::cancel()
{
    m_presented = false;
    emit presentedChanged();
}

void TriggerBoxViewModel::refreshPorts()
{
    QVariantList ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        QString text = info.systemLocation();
        if (!info.description().isEmpty())
            text += QStringLiteral(" — ") + info.description();
        const auto hex = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
        const QString vendor = info.hasVendorIdentifier() ? hex(info.vendorIdentifier()) : QString();
        const QString product = info.hasProductIdentifier() ? hex(info.productIdentifier()) : QString();
        if (!vendor.isEmpty())
            text += QStringLiteral(" (%1:%2)").arg(vendor, product);
        ports.append(QVariantMap{{QStringLiteral("name"), info.systemLocation()},
                                 {QStringLiteral("text"), text},
                                 {QStringLiteral("description"), info.description()},
                                 {QStringLiteral("vendorId"), vendor},
                                 {QStringLiteral("productId"), product}});
    }
    m_ports = ports;
    emit portsChanged();
}

void TriggerBoxViewModel::edit(MarkerSettings draft)
{
    if (draft == m_draft)
        return;
    m_draft = std::move(draft);
    emit draftChanged();
}

void TriggerBoxViewModel::setPort(const QString &port)
{
    MarkerSettings draft = m_draft;
    draft.port = port.trimmed();
    edit(draft);
}

void TriggerBoxViewModel::setSpeed(int speed)
{
    MarkerSettings draft = m_draft;
    if (speeds().contains(speed))
        draft.speed = speed;
    edit(draft);
}

QList<int> TriggerBoxViewModel::speeds()
{
    return {9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
}

void TriggerBoxViewModel::setPulseWidth(int ms)
{
    MarkerSettings draft = m_draft;
    draft.pulseWidthMs = std::clamp(ms, 1, 1000);
    edit(draft);
}

void TriggerBoxViewModel::setHold(bool hold)
{
    MarkerSettings draft = m_draft;
    draft.hold = hold;
    edit(draft);
}

void TriggerBoxViewModel::setEndCode(int code)
{
    MarkerSettings draft = m_draft;
    draft.endCode = std::clamp(code, 0, 255);
    edit(draft);
}

QString TriggerBoxViewModel::statusText() const
{
    return m_output.statusText();
}

void TriggerBoxViewModel::sendTestMarker()
{
    if (!(m_draft == m_output.settings()))
        m_output.apply(m_draft);
    m_output.sendTestMarker();
}
