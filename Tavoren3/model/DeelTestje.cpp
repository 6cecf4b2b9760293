#include "model/DeelTestje.h"

#include <algorithm>

QList<OptionalViewSettings> DeelTestje::views() const
{
    return optionalViews.value_or(QList<OptionalViewSettings>{});
}

bool DeelTestje::hasView(const QString &viewName) const
{
    const QList<OptionalViewSettings> all = views();
    return std::any_of(all.cbegin(), all.cend(),
                       [&](const OptionalViewSettings &v) { return v.ViewName == viewName; });
}
