#include "drone/DronePayload.h"

#include <QRegularExpression>
#include <cmath>

namespace {

std::optional<qint64> integer(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^-?[0-9]+$"));
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || !form.match(text).hasMatch())
        return std::nullopt;
    return value;
}

std::optional<bool> flag(const QString &text)
{
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return std::nullopt;
}

DronePayload withKind(DronePayload::Kind kind)
{
    DronePayload payload;
    payload.kind = kind;
    return payload;
}

DronePayload countdown(DronePayload::Kind kind, const QString &seconds)
{
    DronePayload payload;
    payload.seconds = integer(seconds);
    payload.kind = payload.seconds ? kind : DronePayload::Kind::unknown;
    return payload;
}

DronePayload withText(DronePayload::Kind kind, const QString &text)
{
    DronePayload payload = withKind(kind);
    payload.text = text;
    return payload;
}

// Four numbers of seconds, none negative and not all of them zero.
DronePayload breathing(const QString &numbers)
{
    DronePayload payload;
    const QStringList parts = numbers.split(QLatin1Char(','));
    double total = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const double value = part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < 0)
            return payload;
        payload.breathingSeconds.append(value);
        total += value;
    }
    if (payload.breathingSeconds.size() != 4 || total <= 0) {
        payload.breathingSeconds.clear();
        return payload;
    }
    payload.kind = DronePayload::Kind::breathing;
    return payload;
}

// "link, f1, f2, f3": the flags are taken from the end, so a link may hold ", ".
DronePayload video(const QString &rest)
{
    DronePayload payload;
    const QString separator = QStringLiteral(", ");
    QString link = rest;
    std::optional<bool> flags[3];
    for (int i = 2; i >= 0; --i) {
        const qsizetype at = link.lastIndexOf(separator);
        if (at < 0)
            return payload;
        flags[i] = flag(link.mid(at + separator.size()));
        if (!flags[i])
            return payload;
        link.truncate(at);
    }
    payload.kind = DronePayload::Kind::video;
    payload.text = link;
    payload.hideControls = *flags[0];
    payload.autoStart = *flags[1];
    payload.continueAfter = *flags[2];
    return payload;
}

// "name" or "name - Ns".
DronePayload exercise(const QString &rest)
{
    static const QRegularExpression withSeconds(QStringLiteral("^(.*) - (-?[0-9]+)s$"),
                                                QRegularExpression::DotMatchesEverythingOption);
    DronePayload payload = withText(DronePayload::Kind::exercise, rest);
    const QRegularExpressionMatch match = withSeconds.match(rest);
    if (match.hasMatch() && (payload.seconds = integer(match.captured(2))))
        payload.text = match.captured(1);
    return payload;
}

} // namespace

DronePayload DronePayload::parse(const QString &payload)
{
    static const struct
    {
        const char *text;
        Kind kind;
    } literals[] = {{"black", Kind::black}, {"pause", Kind::pause}, {"resume", Kind::resume},
                    {"done", Kind::done},   {"fall", Kind::fall},   {"exercises completed", Kind::exercisesCompleted}};
    for (const auto &literal : literals)
        if (payload == QLatin1String(literal.text))
            return withKind(literal.kind);

    const auto after = [&payload](const char *prefix) -> std::optional<QString> {
        const QLatin1String head(prefix);
        if (!payload.startsWith(head))
            return std::nullopt;
        return payload.mid(head.size());
    };
    if (const auto rest = after("timer: "))
        return countdown(Kind::timer, *rest);
    if (const auto rest = after("climbing: "))
        return countdown(Kind::climbing, *rest);
    if (const auto rest = after("text: "))
        return withText(Kind::text, *rest);
    if (const auto rest = after("images: "))
        return withText(Kind::images, *rest);
    if (const auto rest = after("slider: "))
        return withText(Kind::slider, *rest);
    if (const auto rest = after("breathing: "))
        return breathing(*rest);
    if (const auto rest = after("video: "))
        return video(*rest);
    if (const auto rest = after("exercise: "))
        return exercise(*rest);
    return DronePayload();
}
