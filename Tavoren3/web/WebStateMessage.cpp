#include "web/WebStateMessage.h"

#include "common/DocumentsFolder.h"
#include "drone/DronePayload.h"
#include "drone/DroneSlider.h"
#include "drone/DroneVideo.h"
#include "tasks/ClimbingView.h"
#include "tasks/ImageView.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

namespace {

QString kindName(DronePayload::Kind kind)
{
    using K = DronePayload::Kind;
    switch (kind) {
    case K::black: return QStringLiteral("black");
    case K::pause: return QStringLiteral("pause");
    case K::resume: return QStringLiteral("resume");
    case K::done: return QStringLiteral("done");
    case K::timer: return QStringLiteral("timer");
    case K::climbing: return QStringLiteral("climbing");
    case K::text: return QStringLiteral("text");
    case K::images: return QStringLiteral("images");
    case K::breathing: return QStringLiteral("breathing");
    case K::video: return QStringLiteral("video");
    case K::slider: return QStringLiteral("slider");
    case K::fall: return QStringLiteral("fall");
    case K::exercise: return QStringLiteral("exercise");
    case K::exercisesCompleted: return QStringLiteral("exercisesCompleted");
    case K::unknown: break;
    }
    return QStringLiteral("unknown");
}

QJsonObject view(const QString &payload)
{
    using K = DronePayload::Kind;
    const DronePayload state = DronePayload::parse(payload);
    QJsonObject view{{QStringLiteral("kind"), kindName(state.kind)}, {QStringLiteral("text"), state.text}};
    if (state.seconds)
        view.insert(QStringLiteral("seconds"), double(*state.seconds));
    switch (state.kind) {
    case K::fall:
        view.insert(QStringLiteral("seconds"), ClimbingView::recoverySeconds);
        break;
    case K::breathing:
        view.insert(QStringLiteral("breathing"), QJsonArray::fromVariantList(QVariantList(
                                                     state.breathingSeconds.begin(), state.breathingSeconds.end())));
        break;
    case K::images: {
        ImageView images(state.text, ImageView::Reach::namesOnly);
        images.appeared();
        QJsonArray sources;
        for (const QString &source : images.imageSources())
            sources.append(WebStateMessage::mediaPath(WebStateMessage::mediaName(source)));
        view.insert(QStringLiteral("images"), sources);
        view.insert(QStringLiteral("problem"), images.loadErrorText());
        break;
    }
    case K::video: {
        const QString name = state.text.trimmed();
        const bool found = !DroneVideo::locate(name).isEmpty();
        view.insert(QStringLiteral("source"), found ? WebStateMessage::mediaPath(name) : QString());
        view.insert(QStringLiteral("problem"), found ? QString() : QStringLiteral("Video not found: ") + name);
        view.insert(QStringLiteral("controls"), !state.hideControls);
        view.insert(QStringLiteral("autoStart"), state.autoStart || state.hideControls);
        view.insert(QStringLiteral("continueAfter"), state.continueAfter);
        break;
    }
    case K::slider:
        view.insert(QStringLiteral("minimum"), DroneSlider::minimumValue);
        view.insert(QStringLiteral("maximum"), DroneSlider::maximumValue);
        view.insert(QStringLiteral("start"), DroneSlider::startValue);
        break;
    default:
        break;
    }
    return view;
}

} // namespace

QByteArray WebStateMessage::frame(const QString &message)
{
    static const QRegularExpression header(QStringLiteral("^@State: seq:([0-9]+)\\|"));
    QJsonObject object{{QStringLiteral("message"), message}};
    const QRegularExpressionMatch match = header.match(message);
    if (match.hasMatch()) {
        object.insert(QStringLiteral("sequence"), match.captured(1).toDouble());
        object.insert(QStringLiteral("view"), view(message.mid(match.capturedLength())));
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString WebStateMessage::mediaPath(const QString &name)
{
    return QStringLiteral("/media/") + QString::fromLatin1(QUrl::toPercentEncoding(name, "/"));
}

QString WebStateMessage::mediaName(const QString &source)
{
    if (source.startsWith(QLatin1String("qrc:/")))
        return source.mid(5);
    const QString file = QUrl(source).toLocalFile();
    const auto documents = DocumentsFolder::path();
    return documents ? QDir(*documents).relativeFilePath(file) : file;
}
