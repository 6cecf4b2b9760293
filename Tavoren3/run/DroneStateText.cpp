#include "run/DroneStateText.h"

#include <charconv>

QString DroneStateText::decimal(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, int(result.ptr - buffer));
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) && !text.contains(QLatin1Char('n')))
        text += QStringLiteral(".0");
    return text;
}

QString DroneStateText::breathing(const QString &speed)
{
    const QString word = speed.trimmed().toLower();
    const double a = word == QLatin1String("slow") ? 3.75 : word == QLatin1String("fast") ? 1.8 : 2.5;
    const QString number = decimal(a);
    const QString zero = decimal(0.0);
    return QStringLiteral("breathing: %1, %2, %1, %2").arg(number, zero);
}

QString DroneStateText::video(const QString &link, bool showButtons, bool autoStartPlaying, bool autoContinue)
{
    const auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    return QStringLiteral("video: ") + link + QStringLiteral(", ") + flag(!showButtons) + QStringLiteral(", ")
        + flag(autoStartPlaying) + QStringLiteral(", ") + flag(autoContinue);
}

QString DroneStateText::forStep(const std::optional<DeelTestje> &step, qint64 remainingTime)
{
    if (!step)
        return QStringLiteral("black");
    const QString seconds = QString::number(remainingTime != 0 ? remainingTime : step->duration);
    for (const OptionalViewSettings &view : step->views()) {
        const std::optional<QString> p0 = view.parameter(0);
        const QString &name = view.ViewName;
        if (name == QLatin1String("Timer (drone side)"))
            return QStringLiteral("timer: ") + seconds;
        if (name == QLatin1String("Climbing"))
            return QStringLiteral("climbing: ") + seconds;
        if (name == QLatin1String("Slider (drone side)"))
            return QStringLiteral("slider: ") + p0.value_or(QString());
        if (name == QLatin1String("Text (drone side)"))
            return QStringLiteral("text: ") + p0.value_or(QStringLiteral("no text was inputted on the timekeeper side"));
        if (name == QLatin1String("Images (drone side)"))
            return QStringLiteral("images: ") + p0.value_or(QStringLiteral("images.txt"));
        if (name == QLatin1String("Breathing (drone side)"))
            return breathing(p0.value_or(QStringLiteral("normal")));
        if (name == QLatin1String("Video (drone side)") && p0 && !p0->isEmpty()) {
            const auto yes = [&](qsizetype i) { return view.parameter(i).value_or(QStringLiteral("no")) == QLatin1String("yes"); };
            return video(*p0, yes(1), yes(2), yes(3));
        }
    }
    return QStringLiteral("black");
}
