#include "shared/program_lock.h"

#include "data/regular_file.h"
#include "shared/shared_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomarina {

namespace {

QString local_host() {
    return QSysInfo::machineHostName();
}

// fd is still the file at path: a lock taken on a file that was removed or replaced meanwhile is none.
bool still_there(const QByteArray& path, int fd) {
    struct stat named {
    }, opened{};
    return ::lstat(path.constData(), &named) == 0 && ::fstat(fd, &opened) == 0 &&
           named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// The holder's process, name and machine, one a line, as QLockFile writes them too.
void read_holder(int fd, LockState& s) {
    char bytes[512];
    const ssize_t n = ::pread(fd, bytes, sizeof bytes, 0);
    if (n < 0) {
        s.kind = LockState::unreadable;
        s.error = errno;
        return;
    }
    const QList<QByteArray> lines = QByteArray(bytes, n).split('\n');
    s.pid = lines.value(0).toLongLong();
    s.host = QString::fromUtf8(lines.value(2)).trimmed();
}

LockState failed(LockState::Kind kind, int error = 0) {
    LockState s;
    s.kind = kind;
    s.error = error;
    return s;
}

// A new lock file, locked and filled in; -1 when another copy got there first (again is set) or the
// folder cannot take one.
int make_lock(const QByteArray& path, LockState& s, bool& again) {
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        again = errno == EEXIST;
        if (!again) s = failed(LockState::cannot_make, errno);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !still_there(path, fd)) {
        ::close(fd);
        again = true;
        return -1;
    }
    const QByteArray holder = QByteArray::number(qint64(::getpid())) + '\n' +
                              QCoreApplication::applicationName().toUtf8() + '\n' + local_host().toUtf8() +
                              '\n';
    // The lock is the locked file; what it says only helps the others tell whom it belongs to.
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, holder.constData(), std::size_t(holder.size()), 0);
    return fd;
}

// One look at the lock of path; with take, a free lock is taken (fd gets the held file) and one left by
// a copy that ended here is removed for the next look (again is set).
LockState attempt(const QByteArray& path, bool take, int& fd, bool& again) {
    again = false;
    LockState s;
    struct stat seen {};
    if (::lstat(path.constData(), &seen) != 0) {
        if (errno != ENOENT) return failed(LockState::unreadable, errno);
        if (take) fd = make_lock(path, s, again);
        return s;
    }
    if (!S_ISREG(seen.st_mode)) return failed(LockState::not_regular);
    // Never waiting, never following a link, and checked to be the file looked at.
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int file = ::open(path.constData(), O_RDWR | flags);
    if (file < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        file = ::open(path.constData(), O_RDONLY | flags);
    if (file < 0) {
        again = errno == ENOENT;
        return failed(errno == ELOOP ? LockState::not_regular : LockState::unreadable, errno);
    }
    struct stat st {};
    if (::fstat(file, &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != seen.st_dev ||
        st.st_ino != seen.st_ino) {
        ::close(file);
        again = true;
        return failed(LockState::not_regular);
    }
    // A second name of another file (the user's hotels, say) is no lock: what it holds is not a holder.
    if (st.st_nlink != 1) {
        ::close(file);
        return failed(LockState::linked);
    }
    read_holder(file, s);
    const bool other_host = !s.host.isEmpty() && s.host != local_host();
    if (s.kind == LockState::free) {
        if (::flock(file, LOCK_EX | LOCK_NB) != 0)
            s.kind = errno == EWOULDBLOCK ? (other_host ? LockState::elsewhere : LockState::held)
                                          : LockState::unreadable;
        else if (other_host) // its lock may not reach this machine: only its own can tell it has ended
            s.kind = LockState::elsewhere;
        else if (take && still_there(path, file)) {
            // Left by a copy that ended here: removed while locked, so no other start takes it meanwhile.
            ::unlink(path.constData());
            again = true;
        }
        if (s.kind == LockState::unreadable) s.error = errno;
    }
    ::close(file);
    return s;
}

} // namespace

QString program_lock_path(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral(".tomarina.lock"));
}

ProgramLock::ProgramLock(const QString& folder) : path_(program_lock_path(folder)) {}

ProgramLock::~ProgramLock() {
    if (fd_ < 0) return;
    const QByteArray path = QFile::encodeName(path_);
    if (still_there(path, fd_)) ::unlink(path.constData());
    ::close(fd_);
}

LockState ProgramLock::take() {
    const QByteArray path = QFile::encodeName(path_);
    LockState s;
    bool again = true;
    // A few rounds: each ends or finds a lock another start made or removed in between.
    for (int round = 0; again && fd_ < 0 && round < 5; ++round) s = attempt(path, true, fd_, again);
    return s;
}

LockState look_at_program_lock(const QString& folder) {
    int fd = -1;
    bool again = false;
    return attempt(QFile::encodeName(program_lock_path(folder)), false, fd, again);
}

QString lock_refusal_message(const QString& folder, const LockState& s) {
    using namespace shared_texts;
    const QString lock = program_lock_path(folder);
    QString why;
    switch (s.kind) {
    case LockState::held:
        why = lock_not_answering;
        break;
    case LockState::elsewhere:
        why = lock_elsewhere.arg(s.host, QString::number(s.pid), lock);
        break;
    case LockState::not_regular:
        why = lock_not_regular.arg(lock);
        break;
    case LockState::linked:
        why = lock_linked.arg(lock);
        break;
    default:
        why = lock_unreadable.arg(lock, read_reason(read_report(s.error)));
        break;
    }
    return lock_refusal.arg(folder, why);
}

} // namespace tomarina
