#include "common/DeviceInfo.h"

#include <QFile>
#include <QSysInfo>

namespace {

// Vendors fill the product name with placeholders when they have nothing better.
bool meaningful(const QString &name)
{
    static const QStringList placeholders = {QStringLiteral("To Be Filled By O.E.M."),
                                             QStringLiteral("System Product Name"), QStringLiteral("Default string"),
                                             QStringLiteral("Not Applicable"), QStringLiteral("None")};
    return !name.isEmpty() && !placeholders.contains(name, Qt::CaseInsensitive);
}

} // namespace

QString DeviceInfo::modelName()
{
    QFile product(QStringLiteral("/sys/class/dmi/id/product_name"));
    if (product.open(QIODevice::ReadOnly)) {
        const QString name = QString::fromUtf8(product.readAll()).trimmed();
        if (meaningful(name))
            return name;
    }
    return QSysInfo::prettyProductName();
}

QString DeviceInfo::userVisibleName()
{
    return QSysInfo::machineHostName();
}
