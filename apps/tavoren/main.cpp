// tavoren: the timekeeper's application.
//
//   tavoren [--bluetooth] [--documents DIR]
//
// The blood-pressure bridge is simulated unless --bluetooth asks for the
// real one through the system's Bluetooth stack. Protocols and label files
// live in the documents folder (~/Documents/tavoren unless DIR is given).
// With TAVOREN_REPORT_FIRST_FRAME set, "first frame" goes to standard error
// once the window has shown its first frame (for the start-up benchmark).

#include "bridge/BleBackend.h"
#include "common/DeviceInfo.h"
#include "common/DocumentsFolder.h"
#include "report/AppInfo.h"
#include "report/DesktopUrlOpener.h"
#include "report/MailComposer.h"
#include "run/QtSoundPlayer.h"
#include "run/ScreenModels.h"
#include "run/Tavoren3App.h"
#include "tasks/HapticFeedback.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(TavorenPlugin)

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tavoren"));
    QGuiApplication::setApplicationVersion(QStringLiteral(TAVOREN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The timekeeper of the psychophysiology laboratory."));
    parser.addHelpOption();
    const QCommandLineOption bluetooth(QStringLiteral("bluetooth"),
                                       QStringLiteral("Use the real bridge through the system's Bluetooth stack."));
    const QCommandLineOption documents(QStringLiteral("documents"),
                                       QStringLiteral("The documents folder for protocols and label files."),
                                       QStringLiteral("DIR"));
    parser.addOptions({bluetooth, documents});
    parser.process(application);
    BleBackend::setUseSimulator(!parser.isSet(bluetooth));
    if (parser.isSet(documents))
        DocumentsFolder::setOverride(parser.value(documents));

    QtSoundPlayer sound;
    Tavoren3App app(sound, DeviceInfo::modelName());
    AppInfo appInfo;
    DesktopUrlOpener urlOpener;
    MailComposer composer;
    HapticFeedback haptics;
    ScreenModels models(app, appInfo, sound, urlOpener, composer, haptics);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &app,
                     &Tavoren3App::scenePhaseChanged);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, models.editor(),
                     &RunEditorViewModel::setScenePhase);

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.setInitialProperties({{QStringLiteral("models"), QVariant::fromValue(&models)}});
    engine.load(QUrl(QStringLiteral("qrc:/Tavoren/run/Main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (window && qEnvironmentVariableIsSet("TAVOREN_REPORT_FIRST_FRAME")) {
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [] { std::fputs("first frame\n", stderr); },
                         Qt::ConnectionType(Qt::DirectConnection | Qt::SingleShotConnection));
    }
    return application.exec();
}
