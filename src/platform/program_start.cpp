#include "platform/program_start.h"

#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tomarina {

namespace {

// What the go-between tells the program, one byte each: whether the program started, then whether it
// failed early.
constexpr char started_byte = 'S';
constexpr char failed_byte = 'F';
constexpr char fine_byte = 'K';

bool read_byte(int fd, char& c) {
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

void write_byte(int fd, char c) {
    while (::write(fd, &c, 1) < 0 && errno == EINTR) {
    }
}

// The go-between, between fork and exit: only calls that are safe in the child of a threaded program.
[[noreturn]] void run_go_between(char* const argv[], int report, int early_seconds) {
    ::setsid();
    // An end signal here is not the program's: its handlers would tell the program to end.
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::signal(sig, SIG_DFL);
    int exec_pipe[2];
    if (::pipe2(exec_pipe, O_CLOEXEC) != 0) ::_exit(1);
    const pid_t browser = ::_Fork();
    if (browser == 0) {
        // The program gets the signals as a freshly started one does, not as this program set them.
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        ::execv(argv[0], argv);
        write_byte(exec_pipe[1], failed_byte);
        ::_exit(127);
    }
    ::close(exec_pipe[1]);
    char c = 0;
    // The pipe closes without a byte once the program is running in place of the child.
    if (browser < 0 || read_byte(exec_pipe[0], c)) {
        write_byte(report, failed_byte);
        ::_exit(0);
    }
    write_byte(report, started_byte);
    const timespec tick{0, 50'000'000};
    int status = 0;
    for (int i = 0; i < early_seconds * 20; ++i) {
        const pid_t done = ::waitpid(browser, &status, WNOHANG);
        if (done == browser) {
            const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            write_byte(report, ok ? fine_byte : failed_byte);
            ::_exit(0);
        }
        ::nanosleep(&tick, nullptr);
    }
    write_byte(report, fine_byte);
    ::_exit(0);
}

} // namespace

bool start_watched_program(const QString& program, const QString& address, QObject* context,
                           std::function<void()> failed, int early_seconds) {
    // A bare name is looked up on the PATH, as the toolkit's own start does.
    const QString file = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (file.isEmpty()) return false;
    const QByteArray path = QFile::encodeName(file);
    QByteArray arg = address.toLocal8Bit();
    QByteArray arg0 = path;
    char* argv[] = {arg0.data(), arg.data(), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    // A go-between starts the program and watches it: the program is never this one's child, so it
    // needs no collecting and goes on when this one ends.
    const pid_t go_between = ::_Fork();
    if (go_between == 0) {
        ::close(report[0]);
        run_go_between(argv, report[1], early_seconds);
    }
    ::close(report[1]);
    char c = 0;
    const bool started = go_between > 0 && read_byte(report[0], c) && c == started_byte;
    if (!started || !context) {
        ::close(report[0]);
        if (go_between > 0 && !started) ::waitpid(go_between, nullptr, 0);
        return started;
    }
    auto* notifier = new QSocketNotifier(report[0], QSocketNotifier::Read, context);
    // The pipe goes with the watch, also when its owner ends first; the go-between then ends on its own.
    QObject::connect(notifier, &QObject::destroyed, [fd = report[0]] { ::close(fd); });
    QObject::connect(
        notifier, &QSocketNotifier::activated, notifier, [notifier, go_between, failed = std::move(failed)] {
            notifier->setEnabled(false);
            char result = 0;
            const bool failed_early = read_byte(int(notifier->socket()), result) && result == failed_byte;
            ::waitpid(go_between, nullptr, 0);
            notifier->deleteLater();
            if (failed_early && failed) failed();
        });
    return true;
}

} // namespace tomarina
