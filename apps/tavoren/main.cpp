// tavoren: the timekeeper's application.
//
//   tavoren [--bluetooth] [--documents DIR] [--manifest URL] [--trigger PORT] [--headless]
//           [--web-address ADDRESS] [--web-port PORT] [--web-certificate FILE --web-key FILE]
//
// The blood-pressure bridge is simulated unless --bluetooth asks for the
// real one through the system's Bluetooth stack. Protocols and label files
// live in the documents folder (~/Documents/tavoren unless DIR is given).
// --manifest points the update check at another version manifest.
// --trigger sends the run's markers to the trigger box on PORT (a device
// such as /dev/ttyUSB0) this time, whatever the trigger box sheet remembers.
// The page for a tablet's browser as the drone listens, once switched on
// in the drone chooser, on ADDRESS:PORT (all interfaces, or loopback with
// TAVOREN_DISCOVERY=loopback; port 8480); over HTTPS with a certificate and key.
// --headless draws the screens off screen (no display needed) and takes the
// operator's touches as lines on standard input, each answered with a line
// that starts with "= ":
//   click NAME, type NAME TEXT, text NAME, shown NAME, enabled NAME,
//   screenshot FILE, quit
// (NAME is a control's object name).
// A run in progress is kept in a record in the application's data folder;
// SIGTERM and SIGINT write it and end the program cleanly, so the next start
// offers to resume the run. A second timekeeper on the same documents folder
// does not start.
// With TAVOREN_REPORT_FIRST_FRAME set, "first frame" goes to standard error
// once the window has shown its first frame (for the start-up benchmark).

#include "bridge/BleBackend.h"
#include "common/DeviceInfo.h"
#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "common/LiveObjects.h"
#include "common/ScreenDriver.h"
#include "common/StandardInputLines.h"
#include "common/TerminationSignals.h"
#include "report/AppInfo.h"
#include "report/DesktopUrlOpener.h"
#include "report/SystemMailComposer.h"
#include "run/InstanceLock.h"
#include "run/QtSoundPlayer.h"
#include "run/ScreenModels.h"
#include "run/Tavoren3App.h"
#include "tasks/HapticFeedback.h"
#include "web/WebDroneServer.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

Q_IMPORT_QML_PLUGIN(TavorenPlugin)

int main(int argc, char *argv[])
{
    LiveObjects::install();
    const bool headless =
        std::any_of(argv + 1, argv + argc, [](const char *argument) { return std::strcmp(argument, "--headless") == 0; });
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
            qputenv("QT_QUICK_BACKEND", "software");
    }
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tavoren"));
    QGuiApplication::setApplicationVersion(QStringLiteral(TAVOREN_VERSION));
    // The desktop entry the window belongs to (its name and icon in the desktop's task list).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavoren.Tavoren"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The timekeeper of the psychophysiology laboratory."));
    parser.addHelpOption();
    const QCommandLineOption bluetooth(QStringLiteral("bluetooth"),
                                       QStringLiteral("Use the real bridge through the system's Bluetooth stack."));
    const QCommandLineOption documents(QStringLiteral("documents"),
                                       QStringLiteral("The documents folder for protocols and label files."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption manifest(QStringLiteral("manifest"),
                                      QStringLiteral("Where the update check reads the version manifest."),
                                      QStringLiteral("URL"));
    const QCommandLineOption trigger(QStringLiteral("trigger"),
                                     QStringLiteral("Send the run's markers to the trigger box on this serial port."),
                                     QStringLiteral("PORT"));
    const QCommandLineOption headlessOption(
        QStringLiteral("headless"), QStringLiteral("Draw off screen and take the operator's touches on standard input."));
    const QCommandLineOption webAddress(QStringLiteral("web-address"),
                                        QStringLiteral("Where the tablet's page listens (all interfaces)."),
                                        QStringLiteral("ADDRESS"));
    const QCommandLineOption webPort(QStringLiteral("web-port"), QStringLiteral("The tablet page's port (8480)."),
                                     QStringLiteral("PORT"));
    const QCommandLineOption webCertificate(QStringLiteral("web-certificate"),
                                            QStringLiteral("Serve the tablet's page over HTTPS with this certificate (PEM)."),
                                            QStringLiteral("FILE"));
    const QCommandLineOption webKey(QStringLiteral("web-key"), QStringLiteral("The private key of that certificate (PEM)."),
                                    QStringLiteral("FILE"));
    parser.addOptions(
        {bluetooth, documents, manifest, trigger, headlessOption, webAddress, webPort, webCertificate, webKey});
    parser.process(application);
    WebDroneServer::Options web{WebDroneServer::defaultAddress(), WebDroneServer::defaultPort,
                                parser.value(webCertificate), parser.value(webKey)};
    if (parser.isSet(webAddress) && !web.address.setAddress(parser.value(webAddress))) {
        std::fprintf(stderr, "tavoren: --web-address is no address: %s\n", qPrintable(parser.value(webAddress)));
        return 2;
    }
    bool portOk = true;
    if (parser.isSet(webPort))
        web.port = parser.value(webPort).toUShort(&portOk);
    if (!portOk || web.certificateFile.isEmpty() != web.keyFile.isEmpty()) {
        std::fprintf(stderr, "tavoren: --web-port takes a port; --web-certificate and --web-key go together\n");
        return 2;
    }
    BleBackend::setUseSimulator(!parser.isSet(bluetooth));
    if (parser.isSet(documents))
        DocumentsFolder::setOverride(parser.value(documents));
    InstanceLock lock;
    if (const QString refusal = lock.acquire(); !refusal.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(refusal));
        return 1;
    }

    QtSoundPlayer sound;
    Tavoren3App app(sound, DeviceInfo::modelName());
    AppInfo appInfo;
    if (parser.isSet(manifest))
        appInfo.setManifestUrl(QUrl(parser.value(manifest)));
    DesktopUrlOpener urlOpener;
    // The desktop's mail program, else the lab's mail server through /usr/sbin/sendmail.
    SystemMailComposer composer;
    HapticFeedback haptics;
    ScreenModels models(app, appInfo, sound, urlOpener, composer, haptics);
    if (parser.isSet(trigger)) {
        MarkerSettings markers = models.markers()->settings();
        markers.port = parser.value(trigger);
        models.markers()->apply(markers);
    }
    WebDroneServer webDrone(&app.VESK_Session(), web);
    WebDroneServer::setInstance(&webDrone);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &app,
                     &Tavoren3App::scenePhaseChanged);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, models.editor(),
                     &RunEditorViewModel::setScenePhase);
    // However the program ends, a run in progress leaves its record with the last-alive time.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &models.recorder(), &RunRecorder::keepAlive);
    TerminationSignals terminationSignals;
    // exit, not quit: quit would ask the window, which refuses during a run.
    QObject::connect(&terminationSignals, &TerminationSignals::received, &application, [] { QCoreApplication::exit(0); });

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
    std::unique_ptr<StandardInputLines> input;
    std::unique_ptr<ScreenDriver> driver;
    if (headless) {
        driver = std::make_unique<ScreenDriver>(window);
        input = std::make_unique<StandardInputLines>();
        QObject::connect(input.get(), &StandardInputLines::lineRead, [&driver](const QString &line) {
            if (line == QLatin1String("quit"))
                QCoreApplication::exit(0);
            else if (!line.isEmpty())
                Console::line(QStringLiteral("= ") + driver->perform(line));
        });
    }
    return application.exec();
}
