#include "editor/StepLabel.h"

#include <QList>

QString StepLabel::derived(const QString &text)
{
    QString label;
    for (const char32_t c : text.toUcs4()) {
        const char32_t kept = c == U' ' ? U'_' : c;
        if (kept != U'_' && !QChar::isLetterOrNumber(kept))
            continue;
        if (kept == U'_' && label.endsWith(QLatin1Char('_')))
            continue;
        label.append(QString::fromUcs4(&kept, 1));
    }
    return label;
}

bool StepLabel::isPlaceholder(const QString &label)
{
    return label.isEmpty() || label == QLatin1String("NewLabel") || label == QLatin1String("new_test");
}

bool StepLabel::isAutomatic(const QString &label, const QString &title)
{
    return isPlaceholder(label) || label == derived(title);
}
