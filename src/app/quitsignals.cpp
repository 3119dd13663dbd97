// SPDX-License-Identifier: GPL-3.0-or-later

#include "quitsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a file descriptor; the event loop reads it.
int g_pipe[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
}

} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(g_pipe[0], buffer, sizeof buffer) > 0) { }
        emit quitRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : { SIGTERM, SIGINT, SIGHUP })
        ::sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int s : { SIGTERM, SIGINT, SIGHUP })
        ::sigaction(s, &action, nullptr);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}
