#pragma once

#include <QMetaType>
#include <QString>
#include <optional>

// A peripheral as the central knows it: a stable identifier and, when it
// advertises one, a name. A default-constructed peripheral is "none".
class BlePeripheral
{
    Q_GADGET
    Q_PROPERTY(QString identifier READ identifier CONSTANT)
    Q_PROPERTY(QString name READ displayName CONSTANT)
    Q_PROPERTY(bool valid READ isValid CONSTANT)

public:
    BlePeripheral() = default;
    BlePeripheral(QString identifier, std::optional<QString> name);

    QString identifier() const { return m_identifier; }
    const std::optional<QString> &name() const { return m_name; }
    // The name, or an empty text when it advertises none.
    QString displayName() const { return m_name.value_or(QString()); }
    bool isValid() const { return !m_identifier.isEmpty(); }

    bool operator==(const BlePeripheral &other) const { return m_identifier == other.m_identifier; }

private:
    QString m_identifier;
    std::optional<QString> m_name;
};
