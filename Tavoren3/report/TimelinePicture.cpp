#include "report/TimelinePicture.h"

#include "run/LogTime.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal margin = 12;
constexpr qreal headerHeight = 26;
constexpr qreal messageHeight = 20;
constexpr qreal axisHeight = 22;
constexpr qreal rowHeight = 28;
constexpr qreal barHeight = 14;
constexpr qreal markerSize = 11;
constexpr qreal durationWidth = 64;

const QColor ink(0x1f, 0x2a, 0x44);
const QColor faint(0x8a, 0x93, 0xa6);

QFont font(bool bold = false)
{
    QFont f;
    f.setPixelSize(12);
    f.setBold(bold);
    return f;
}

QColor outcomeColor(const QString &outcome)
{
    if (outcome == QLatin1String("stopped"))
        return QColor(0xd6, 0x45, 0x41);
    if (outcome.startsWith(QLatin1String("cancelled")))
        return QColor(0xe0, 0x8a, 0x2c);
    if (outcome == QLatin1String("paused"))
        return QColor(0x9a, 0xa5, 0xb1);
    return QColor(0x4f, 0x6b, 0xd8);
}

QString stepName(const QString &label, const QString &numericId)
{
    return label + QStringLiteral(" (") + numericId + QLatin1Char(')');
}

// "blood_pressure_started" as "Blood pressure started".
QString taskName(const QString &task)
{
    QString name = task;
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

// A tick step of 1, 2, 5, 10, 15 or 30 seconds or minutes, or whole hours,
// giving at most about eight ticks.
qint64 tickStep(qint64 totalMs)
{
    static const qint64 steps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600};
    for (const qint64 s : steps) {
        if (totalMs / (s * 1000) <= 8)
            return s * 1000;
    }
    return (totalMs / 8 / 3600000 + 1) * 3600000;
}

} // namespace

TimelinePicture::TimelinePicture(LabelSession session) : m_session(std::move(session))
{
    if (m_session.origin && m_session.last)
        m_total = std::max<qint64>(0, m_session.origin->msecsTo(*m_session.last));
}

QString TimelinePicture::durationText(qint64 milliseconds)
{
    const qint64 s = std::llround(std::abs(milliseconds) / 1000.0);
    const QString sign = milliseconds < 0 ? QStringLiteral("-") : QString();
    if (s >= 3600)
        return sign + QString::number(s / 3600) + QLatin1Char(':') + LogTime::minutesAndSeconds(s % 3600);
    return sign + LogTime::minutesAndSeconds(s);
}

int TimelinePicture::rowCount() const
{
    const bool outside = std::any_of(m_session.events.begin(), m_session.events.end(),
                                     [](const SessionEvent &e) { return e.step < 0; });
    return int(m_session.steps.size()) + (outside ? 1 : 0);
}

qreal TimelinePicture::heightFor(qreal) const
{
    return 2 * margin + headerHeight + (m_session.error ? messageHeight : 0) + axisHeight
           + std::max(1, rowCount()) * rowHeight;
}

QList<TimelinePicture::Element> TimelinePicture::layout(qreal width) const
{
    QList<Element> out;
    const qreal height = heightFor(width);
    out.append({Shape::Background, QRectF(0, 0, width, height), Qt::white, {}});

    const QLocale c = QLocale::c();
    qreal y = margin;
    const QString startText =
        m_session.origin ? (m_session.start ? QStringLiteral("Start ") : QStringLiteral("From "))
                               + c.toString(*m_session.origin, QStringLiteral("d MMM yyyy, HH:mm:ss"))
                         : QStringLiteral("No times in this label file");
    out.append({Shape::Text, QRectF(margin, y, width / 2, headerHeight), ink,
                QStringLiteral("Total ") + durationText(m_total), true});
    out.append({Shape::Text, QRectF(width / 2, y, width / 2 - margin, headerHeight), faint, startText, false,
                Qt::AlignRight | Qt::AlignVCenter});
    y += headerHeight;
    if (m_session.error) {
        out.append({Shape::Text, QRectF(margin, y, width - 2 * margin, messageHeight), QColor(0xc0, 0x39, 0x2b),
                    QStringLiteral("Read up to here: ") + m_session.error->message});
        y += messageHeight;
    }

    // Columns: step names, the time axis, durations.
    const QFontMetricsF metrics(font());
    qreal nameWidth = metrics.horizontalAdvance(QStringLiteral("outside steps"));
    for (const StepRun &run : m_session.steps)
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(stepName(run.label, run.numericId)));
    nameWidth = std::clamp(nameWidth + 10, 60.0, width * 0.35);
    const qreal x0 = margin + nameWidth;
    const qreal x1 = std::max(x0 + 1, width - margin - durationWidth);
    const qreal scale = (x1 - x0) / std::max<qint64>(m_total, 1);
    const auto xOf = [&](const QDateTime &t) {
        return x0 + std::clamp<qint64>(m_session.origin->msecsTo(t), 0, m_total) * scale;
    };
    const qreal rowsTop = y + axisHeight;
    const qreal rowsBottom = height - margin;

    if (!m_session.origin)
        return out;

    for (const PauseSpan &pause : m_session.pauses) {
        const qreal a = xOf(pause.begin);
        const qreal b = std::max(xOf(*pause.end), a + 2);
        out.append({Shape::Band, QRectF(a, y, b - a, rowsBottom - y), QColor(0x8a, 0x93, 0xa6, 50),
                    QStringLiteral("Paused %1%2").arg(durationText(pause.begin.msecsTo(*pause.end)),
                                                    pause.resumed ? QString() : QStringLiteral(", not resumed"))});
    }
    const qint64 step = tickStep(m_total);
    for (qint64 t = 0; t <= m_total; t += step) {
        const qreal x = x0 + t * scale;
        out.append({Shape::Tick, QRectF(x, y + axisHeight - 4, 0, rowsBottom - y - axisHeight + 4), faint, {}});
        out.append({Shape::Text, QRectF(x - 40, y, 80, axisHeight - 4), faint, durationText(t), false,
                    Qt::AlignHCenter | Qt::AlignVCenter});
    }

    const auto rowTop = [&](int row) { return rowsTop + row * rowHeight; };
    for (int i = 0; i < m_session.steps.size(); ++i) {
        const StepRun &run = m_session.steps.at(i);
        const qreal top = rowTop(i);
        const QString name = stepName(run.label, run.numericId);
        out.append({Shape::Text, QRectF(margin, top, nameWidth - 6, rowHeight), ink, name});
        const QDateTime end = run.end.value_or(*m_session.last);
        const qreal a = xOf(run.begin);
        const qreal b = std::max(xOf(end), a + 2);
        const QRectF bar(a, top + (rowHeight - barHeight) / 2, b - a, barHeight);
        const QString duration = durationText(run.begin.msecsTo(end));
        out.append({run.end ? Shape::Bar : Shape::OpenBar, bar, outcomeColor(run.outcome),
                    name + QStringLiteral(": ") + duration + QStringLiteral(", ")
                        + (run.end ? run.outcome : QStringLiteral("not ended in the file"))});
        for (const PauseSpan &pause : m_session.pauses) {
            const QRectF hatch = bar.intersected(QRectF(xOf(pause.begin), bar.top(), xOf(*pause.end) - xOf(pause.begin), barHeight));
            if (hatch.width() > 0)
                out.append({Shape::Hatch, hatch, ink, QStringLiteral("Paused in ") + name});
        }
        const bool stopped = run.outcome == QLatin1String("stopped");
        const qreal after = b + 4 + (stopped ? markerSize / 2 : 0);
        out.append({Shape::Text, QRectF(after, top, durationWidth + x1 - after, rowHeight), ink, duration});
        if (stopped)
            out.append({Shape::Stop, QRectF(b - markerSize / 2, bar.center().y() - markerSize / 2, markerSize, markerSize),
                        outcomeColor(run.outcome),
                        QStringLiteral("Stopped at ") + durationText(m_session.origin->msecsTo(end))});
    }
    const int outsideRow = int(m_session.steps.size());
    if (outsideRow < rowCount())
        out.append({Shape::Text, QRectF(margin, rowTop(outsideRow), nameWidth - 6, rowHeight), faint,
                    QStringLiteral("outside steps")});

    for (const SessionEvent &event : m_session.events) {
        const LabelLine &line = m_session.lines.at(event.line);
        const qreal cy = rowTop(event.step < 0 ? outsideRow : event.step) + rowHeight / 2;
        const QRectF mark(xOf(line.time) - markerSize / 2, cy - markerSize / 2, markerSize, markerSize);
        const QString when = durationText(m_session.origin->msecsTo(line.time)) + QStringLiteral(" (")
                             + c.toString(line.time, QStringLiteral("HH:mm:ss")) + QStringLiteral(") ");
        switch (line.kind) {
        case LabelLine::Kind::Note:
            out.append({Shape::Diamond, mark, QColor(0xf2, 0xb6, 0x00), when + QStringLiteral("Note: ") + line.detail});
            break;
        case LabelLine::Kind::Rating:
            out.append({Shape::Circle, mark, QColor(0x2e, 0x9e, 0x5b),
                        when + QStringLiteral("Rating ") + line.rating + QStringLiteral(": ") + line.detail});
            break;
        case LabelLine::Kind::Task:
            out.append({Shape::Triangle, mark, QColor(0x8a, 0x4f, 0xd1),
                        when + taskName(line.task) + (line.detail.isEmpty() ? QString() : QStringLiteral(": ") + line.detail)});
            break;
        default:
            out.append({Shape::Restart, QRectF(mark.center().x() - 1.5, cy - rowHeight / 2 + 3, 3, rowHeight - 6),
                        outcomeColor(line.word), when + QStringLiteral("Restarted ") + stepName(line.label, line.numericId)});
            break;
        }
    }
    return out;
}

void TimelinePicture::paint(QPainter &painter, qreal width) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Element &e : layout(width)) {
        const QRectF &r = e.rect;
        painter.setPen(Qt::NoPen);
        painter.setBrush(e.color);
        switch (e.shape) {
        case Shape::Background:
            painter.fillRect(r, e.color);
            break;
        case Shape::Text: {
            painter.setFont(font(e.bold));
            painter.setPen(e.color);
            const QString shown = QFontMetricsF(painter.font()).elidedText(e.text, Qt::ElideRight, r.width());
            painter.drawText(r, int(e.align), shown);
            break;
        }
        case Shape::Bar:
            painter.drawRoundedRect(r, 3, 3);
            break;
        case Shape::OpenBar: {
            QColor fill = e.color;
            fill.setAlpha(90);
            painter.setBrush(fill);
            painter.setPen(QPen(e.color, 1.5, Qt::DashLine));
            painter.drawRoundedRect(r, 3, 3);
            break;
        }
        case Shape::Hatch:
            painter.setBrush(QColor(255, 255, 255, 150));
            painter.drawRect(r);
            painter.setBrush(QBrush(e.color, Qt::BDiagPattern));
            painter.drawRect(r);
            break;
        case Shape::Band:
            painter.drawRect(r);
            break;
        case Shape::Tick:
            painter.setPen(QPen(QColor(0xe3, 0xe6, 0xec), 1));
            painter.drawLine(r.topLeft(), r.bottomLeft());
            break;
        case Shape::Diamond:
        case Shape::Triangle:
        case Shape::Circle: {
            painter.setPen(QPen(Qt::white, 1.5));
            QPainterPath path;
            if (e.shape == Shape::Circle) {
                path.addEllipse(r);
            } else if (e.shape == Shape::Diamond) {
                path.moveTo(r.center().x(), r.top());
                path.lineTo(r.right(), r.center().y());
                path.lineTo(r.center().x(), r.bottom());
                path.lineTo(r.left(), r.center().y());
                path.closeSubpath();
            } else {
                path.moveTo(r.center().x(), r.top());
                path.lineTo(r.right(), r.bottom());
                path.lineTo(r.left(), r.bottom());
                path.closeSubpath();
            }
            painter.drawPath(path);
            break;
        }
        case Shape::Restart:
        case Shape::Stop:
            painter.setPen(QPen(Qt::white, 1));
            painter.drawRect(r);
            break;
        }
    }
    painter.restore();
}

QString TimelinePicture::textAt(const QPointF &point, qreal width) const
{
    const QList<Element> elements = layout(width);
    for (auto e = elements.crbegin(); e != elements.crend(); ++e) {
        if (e->shape == Shape::Background || e->shape == Shape::Text || e->shape == Shape::Tick)
            continue;
        const QRectF area = e->rect.adjusted(std::min(0.0, e->rect.width() / 2 - 6), std::min(0.0, e->rect.height() / 2 - 6),
                                             std::max(0.0, 6 - e->rect.width() / 2), std::max(0.0, 6 - e->rect.height() / 2));
        if (area.contains(point))
            return e->text;
    }
    return QString();
}
