#include "bridge/BlePeripheral.h"

BlePeripheral::BlePeripheral(QString identifier, std::optional<QString> name)
    : m_identifier(std::move(identifier)), m_name(std::move(name))
{
    if (m_name && m_name->isEmpty())
        m_name.reset();
}
