#include "common/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int pair[2] = {-1, -1};

void handler(int signalNumber)
{
    const char number = char(signalNumber);
    [[maybe_unused]] const auto written = ::write(pair[0], &number, 1);
}
}

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return;
    m_notifier = new QSocketNotifier(pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::read);
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    ::close(pair[0]);
    ::close(pair[1]);
    pair[0] = pair[1] = -1;
}

void TerminationSignals::read()
{
    char number = 0;
    if (::read(pair[1], &number, 1) == 1)
        emit received(number);
}
