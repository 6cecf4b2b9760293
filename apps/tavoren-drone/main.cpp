// tavoren-drone: the participant's screen at the other end of the drone link.
//
//   tavoren-drone [--headless | --windowed] [--name NAME] [--invite] [--ack-delay MS] [--drop-acks N]
//   tavoren-drone --forget
//
// Without --headless it fills the screen with what the timekeeper asks for
// (--windowed: in an ordinary window, for a demonstration beside the
// timekeeper). Either way every state that arrives is printed as
// "state N: PAYLOAD" (line breaks in the payload written as \n), a resend or
// a state older than the newest as "state N again: PAYLOAD" (not shown), and
// lines on standard input steer it:
//   pair          confirm the pairing a timekeeper asks for (printed as
//                 "pairing code NNNNNN with NAME"; "paired with NAME" once
//                 both ends confirmed, "pairing ended" when it fell through)
//   cancel        refuse it
//   slider N      send a rating
//   delay MS      delay acknowledgements
//   drop N        drop the next N acknowledgements (-1: all)
//   duplicate on|off  send every acknowledgement twice
//   disconnect    drop the link (it stays discoverable)
//   raw TEXT      send TEXT as it is
//   quit
// Only a paired timekeeper links, one at a time. --forget undoes every
// pairing and ends.

#include "common/Console.h"
#include "common/MediaBackend.h"
#include "common/StandardInputLines.h"
#include "drone/DroneEndpoint.h"
#include "drone/DroneScreen.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

Q_IMPORT_QML_PLUGIN(TavorenPlugin)

namespace {

void handleCommand(DroneEndpoint &drone, const QString &line)
{
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString argument = line.section(QLatin1Char(' '), 1);
    if (command == QLatin1String("pair"))
        drone.confirmPairing();
    else if (command == QLatin1String("cancel"))
        drone.cancelPairing();
    else if (command == QLatin1String("slider"))
        drone.sendSlider(argument.toInt());
    else if (command == QLatin1String("delay"))
        drone.setAckDelayMs(argument.toInt());
    else if (command == QLatin1String("drop"))
        drone.dropAcks(argument.toInt());
    else if (command == QLatin1String("duplicate"))
        drone.setDuplicateAcks(argument == QLatin1String("on"));
    else if (command == QLatin1String("disconnect"))
        drone.disconnectAll();
    else if (command == QLatin1String("raw"))
        drone.sendRaw(argument.toUtf8());
    else if (command == QLatin1String("quit"))
        QCoreApplication::quit();
    else if (!command.isEmpty())
        Console::line(QStringLiteral("Unknown command: ") + line);
}

} // namespace

int main(int argc, char *argv[])
{
    chooseMediaBackend();
    // Headless it needs no display at all.
    // Taken before the application object exists: under X11 it would keep
    // "--name" for itself.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool headlessAsked =
        std::any_of(argv + 1, argv + argc, [](const char *argument) { return std::strcmp(argument, "--headless") == 0; });
    const std::unique_ptr<QCoreApplication> app = headlessAsked ? std::make_unique<QCoreApplication>(argc, argv)
                                                                : std::make_unique<QGuiApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavoren-drone"));
    // The desktop entry the window belongs to (its name and icon in the desktop's task list).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavoren.TavorenDrone"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The participant's screen of the timekeeper."));
    parser.addHelpOption();
    const QCommandLineOption headless(QStringLiteral("headless"), QStringLiteral("No screen: print what arrives."));
    const QCommandLineOption windowed(QStringLiteral("windowed"), QStringLiteral("In a window, not full screen."));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Display name."), QStringLiteral("NAME"),
                                  QStringLiteral("tavoren-drone"));
    const QCommandLineOption invite(QStringLiteral("invite"), QStringLiteral("Invite the first timekeeper found."));
    const QCommandLineOption ackDelay(QStringLiteral("ack-delay"), QStringLiteral("Delay acknowledgements."),
                                      QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption dropAcks(QStringLiteral("drop-acks"), QStringLiteral("Drop the first N acknowledgements."),
                                      QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption forget(QStringLiteral("forget"), QStringLiteral("Forget the paired timekeepers and end."));
    parser.addOptions({headless, windowed, name, invite, ackDelay, dropAcks, forget});
    parser.process(arguments);
    Console::useStandardError();

    DroneEndpoint drone(parser.value(name));
    if (parser.isSet(forget)) {
        std::printf("forgot %d paired timekeeper(s)\n", drone.forgetTimekeepers());
        return 0;
    }
    drone.setAckDelayMs(parser.value(ackDelay).toInt());
    drone.dropAcks(parser.value(dropAcks).toInt());
    drone.setInviteFound(parser.isSet(invite));
    QObject::connect(&drone, &DroneEndpoint::stateReceived, [](qint64 sequence, const QString &payload, bool repeat) {
        const QString shown = QString(payload).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        std::printf("state %lld%s: %s\n", static_cast<long long>(sequence), repeat ? " again" : "",
                    shown.toUtf8().constData());
        std::fflush(stdout);
    });
    QObject::connect(&drone, &DroneEndpoint::connectedChanged, [&drone] {
        std::printf("%s\n", drone.connected() ? "connected" : "not connected");
        std::fflush(stdout);
    });

    QObject::connect(&drone, &DroneEndpoint::pairingChanged, [&drone] {
        if (!drone.pairingCode().isEmpty() && !drone.pairingConfirmedHere()) {
            std::printf("pairing code %s with %s\n", qPrintable(drone.pairingCode()), drone.pairingPeerName().toUtf8().constData());
            std::fflush(stdout);
        }
    });
    QObject::connect(&drone.transport(), &PeerTransport::pairingEnded, [](const PeerId &peer, bool paired) {
        if (paired)
            std::printf("paired with %s\n", peer.displayName.toUtf8().constData());
        else
            std::printf("pairing ended\n");
        std::fflush(stdout);
    });

    StandardInputLines input;
    QObject::connect(&input, &StandardInputLines::lineRead, [&drone](const QString &line) { handleCommand(drone, line); });

    std::unique_ptr<DroneScreen> screen;
    std::unique_ptr<QQmlApplicationEngine> engine;
    if (!parser.isSet(headless)) {
        screen = std::make_unique<DroneScreen>(drone);
        engine = std::make_unique<QQmlApplicationEngine>();
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->setInitialProperties({{QStringLiteral("model"), QVariant::fromValue(screen.get())},
                                      {QStringLiteral("fullScreen"), !parser.isSet(windowed)}});
        engine->load(QUrl(QStringLiteral("qrc:/Tavoren/drone/DroneWindow.qml")));
        if (engine->rootObjects().isEmpty())
            return 1;
    }

    drone.start();
    std::printf("listening on port %u\n", unsigned(drone.transport().listeningPort()));
    std::fflush(stdout);
    return app->exec();
}
