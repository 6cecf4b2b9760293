#include "common/ChangeForwarding.h"

#include <QMetaProperty>
#include <QObject>

void forwardChanges(const QObject &source, QObject &receiver)
{
    const QMetaMethod changed = receiver.metaObject()->method(receiver.metaObject()->indexOfSignal("changed()"));
    Q_ASSERT(changed.isValid());
    const QMetaObject *meta = source.metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.hasNotifySignal())
            QObject::connect(&source, property.notifySignal(), &receiver, changed, Qt::UniqueConnection);
    }
}
