#include "program/end_signals.h"

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tomarina {

namespace {

int signal_fds[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the socket the event loop watches.
void on_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signal_fds[0], &byte, 1);
}

} // namespace

void catch_end_signals() {
    if (signal_fds[0] != -1) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_fds) != 0) {
        signal_fds[0] = signal_fds[1] = -1;
        return;
    }
    for (int fd : signal_fds) ::fcntl(fd, F_SETFL, O_NONBLOCK);
    struct sigaction sa = {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

void handle_end_signals(QObject* context, std::function<void()> handler) {
    if (signal_fds[1] == -1) return;
    auto* notifier = new QSocketNotifier(signal_fds[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
        char bytes[16];
        while (::read(signal_fds[1], bytes, sizeof bytes) > 0) {
        }
        handler();
    });
}

bool end_signal_waiting() {
    char byte = 0;
    return signal_fds[1] != -1 && ::recv(signal_fds[1], &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 1;
}

} // namespace tomarina
