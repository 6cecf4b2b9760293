#include "editor/OptionalViewChoices.h"

#include <algorithm>

namespace {

const QString value = QStringLiteral("value");
const QString videoLink = QStringLiteral("videoLink");
const QString video = QStringLiteral("Video (drone side)");
const QStringList videoFlags{QStringLiteral("showButtons"), QStringLiteral("autoStartPlaying"),
                             QStringLiteral("autoContinue")};
const QStringList yesNo{QStringLiteral("yes"), QStringLiteral("no")};

struct Offered
{
    QString name;
    QString prompt;      // empty: the view takes no parameter
    QStringList choices; // empty: free text
};

QStringList arithmeticFiles()
{
    QStringList files;
    for (int n = 1; n <= 11; ++n)
        files.append(QStringLiteral("TTR_addition_problems_%1.txt").arg(n));
    return files;
}

const QList<Offered> &offered()
{
    static const QList<Offered> views{
        {QStringLiteral("Climbing"), {}, {}},
        {QStringLiteral("Arithmetic tasks"), QStringLiteral("Choose the set of calculations"), arithmeticFiles()},
        {QStringLiteral("Slider (drone side)"), QStringLiteral("Question to be displayed"), {}},
        {QStringLiteral("Timer (drone side)"), {}, {}},
        {QStringLiteral("Questionnaire (timekeeper side)"), QStringLiteral("Choose the set of questions"),
         {QStringLiteral("Resting.txt"), QStringLiteral("Failed_attempt.txt"), QStringLiteral("Preparation.txt"),
          QStringLiteral("Baseline.txt")}},
        {QStringLiteral("Images (timekeeper side)"), QStringLiteral("Choose the image list file"),
         {QStringLiteral("images.txt")}},
        {QStringLiteral("Blood pressure monitoring (timekeeper side)"), {}, {}},
        {QStringLiteral("Breathing (drone side)"), QStringLiteral("Choose the speed"),
         {QStringLiteral("Slow"), QStringLiteral("Normal"), QStringLiteral("Fast")}},
        {video, QStringLiteral("Choose a video to display on the drone"),
         {QStringLiteral("06.mp4"), QStringLiteral("09.mp4"), QStringLiteral("20.mp4"), QStringLiteral("33.mp4"),
          QStringLiteral("48.mp4"), QStringLiteral("52.mp4")}},
        {QStringLiteral("Images (drone side)"), QStringLiteral("Choose the set of images"),
         {QStringLiteral("Images.txt"), QStringLiteral("placeholder2"), QStringLiteral("placeholder3")}},
        {QStringLiteral("Text (drone side)"), QStringLiteral("Text to be displayed"), {}},
    };
    return views;
}

const Offered *find(const QString &viewName)
{
    const auto &views = offered();
    const auto it = std::find_if(views.cbegin(), views.cend(), [&](const Offered &v) { return v.name == viewName; });
    return it == views.cend() ? nullptr : &*it;
}

QString defaultValue(const QString &key)
{
    return videoFlags.contains(key) ? QStringLiteral("no") : QString();
}

} // namespace

const QStringList &OptionalViewChoices::availableOptionalViews()
{
    static const QStringList names = [] {
        QStringList all;
        for (const Offered &view : offered())
            all.append(view.name);
        return all;
    }();
    return names;
}

QStringList OptionalViewChoices::parameterKeys(const QString &viewName)
{
    const Offered *view = find(viewName);
    if (!view || view->prompt.isEmpty())
        return {};
    if (viewName == video)
        return QStringList{videoLink} + videoFlags;
    return {value};
}

QString OptionalViewChoices::prompt(const QString &viewName, const QString &key)
{
    if (!parameterKeys(viewName).contains(key))
        return {};
    if (key == QLatin1String("showButtons"))
        return QStringLiteral("Do you want the controls to be shown?");
    if (key == QLatin1String("autoStartPlaying"))
        return QStringLiteral("Do you want the video to start playing automatically?");
    if (key == QLatin1String("autoContinue"))
        return QStringLiteral("Do you want the app to continue automatically?");
    return find(viewName)->prompt;
}

QStringList OptionalViewChoices::choices(const QString &viewName, const QString &key)
{
    if (!parameterKeys(viewName).contains(key))
        return {};
    if (videoFlags.contains(key))
        return yesNo;
    return find(viewName)->choices;
}

OptionalViewChoices::Staged OptionalViewChoices::staged(const OptionalViewSettings &view)
{
    Staged parameters;
    const QStringList keys = parameterKeys(view.ViewName);
    for (qsizetype i = 0; i < keys.size(); ++i)
        parameters.insert(keys.at(i), view.parameter(i).value_or(defaultValue(keys.at(i))));
    return parameters;
}

OptionalViewSettings OptionalViewChoices::settings(const QString &viewName, const Staged &staged)
{
    OptionalViewSettings view{viewName, {}};
    for (const QString &key : parameterKeys(viewName))
        view.Parameters.append(staged.value(key, defaultValue(key)));
    return view;
}
