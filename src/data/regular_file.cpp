#include "data/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace tomarina {

ResolvedPath::~ResolvedPath() {
    if (folder >= 0) ::close(folder);
}

namespace {

// Moves the walk into the folder next (an fd or -1 with errno); false with the error when it failed.
int enter(ResolvedPath& at, int next) {
    if (next < 0) return errno ? errno : EIO;
    if (at.folder >= 0) ::close(at.folder);
    at.folder = next;
    return 0;
}

} // namespace

int resolve_path(const QString& path, ResolvedPath& out) {
    const QByteArray bytes = QFile::encodeName(path);
    QList<QByteArray> rest = bytes.split('/');
    if (int e = enter(out, ::open(bytes.startsWith('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC)))
        return e;
    const auto more_names = [&rest] {
        return std::any_of(rest.cbegin(), rest.cend(),
                           [](const QByteArray& r) { return !r.isEmpty() && r != "."; });
    };
    while (!rest.isEmpty()) {
        const QByteArray name = rest.takeFirst();
        if (name.isEmpty() || name == ".") continue;
        const bool last = !more_names();
        struct stat st {};
        if (::fstatat(out.folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last && name != "..") {
                out.name = name;
                out.exists = false;
                return 0;
            }
            return errno;
        }
        if (S_ISLNK(st.st_mode)) {
            // Another user's link would choose which file the program reads or writes.
            if (st.st_uid != ::geteuid() && st.st_uid != 0) return foreign_link;
            if (++out.links > 40) return ELOOP;
            QByteArray target(PATH_MAX, Qt::Uninitialized);
            const ssize_t n =
                ::readlinkat(out.folder, name.constData(), target.data(), std::size_t(target.size()));
            if (n <= 0 || n >= target.size()) return n < 0 ? errno : EINVAL;
            target.truncate(n);
            if (target.startsWith('/'))
                if (int e = enter(out, ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC))) return e;
            rest = target.split('/') + rest;
            continue;
        }
        if (!last || name == "..") {
            if (!S_ISDIR(st.st_mode)) return ENOTDIR;
            // O_NOFOLLOW: a folder swapped for a link since it was looked at is refused, not followed.
            if (int e = enter(out, ::openat(out.folder, name.constData(),
                                            O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)))
                return e;
            if (last) return EISDIR;
            continue;
        }
        out.name = name;
        out.exists = true;
        out.st = st;
        return 0;
    }
    return EISDIR; // the path names a folder
}

namespace {

FileProblem problem_of(int error_number) {
    switch (error_number) {
    case not_regular_file:
        return FileProblem::not_a_regular_file;
    case foreign_link:
        return FileProblem::link_of_another_user;
    case foreign_link_target:
        return FileProblem::link_to_another_users_file;
    default:
        return FileProblem::system_error;
    }
}

} // namespace

ReadReport read_report(int error_number) {
    return {problem_of(error_number), error_number, {}};
}

SaveReport save_report(int error_number) {
    return {problem_of(error_number), error_number, {}};
}

OpenedFile open_file_for_reading(QFile& file, const QString& path, ReadReport& why) {
    why = {};
    ResolvedPath at;
    const int walked = resolve_path(path, at);
    if (walked == ENOENT || (walked == 0 && !at.exists)) return OpenedFile::missing;
    if (walked != 0) {
        why = read_report(walked);
        return walked == EISDIR ? OpenedFile::not_regular : OpenedFile::unreadable;
    }
    if (!S_ISREG(at.st.st_mode)) {
        why = read_report(not_regular_file);
        return OpenedFile::not_regular;
    }
    // Opened from the resolved folder without following or waiting, and checked to be the file looked at.
    const int fd = ::openat(at.folder, at.name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return OpenedFile::missing;
        why = read_report(errno == ELOOP ? not_regular_file : errno);
        return errno == ELOOP ? OpenedFile::not_regular : OpenedFile::unreadable;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_ino != at.st.st_ino ||
        st.st_dev != at.st.st_dev) {
        ::close(fd);
        why = read_report(not_regular_file);
        return OpenedFile::not_regular;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        why = {FileProblem::library_error, 0, file.errorString()};
        return OpenedFile::unreadable;
    }
    return OpenedFile::opened;
}

bool open_regular_file(QFile& file, const QString& path, ReadReport& why) {
    return open_file_for_reading(file, path, why) == OpenedFile::opened;
}

bool open_regular_file(QFile& file, const QString& path) {
    ReadReport why;
    return open_regular_file(file, path, why);
}

namespace {

// The group of the user's own name, which has no other member (Debian gives every user one, and its
// umask 002 makes folders it can write).
bool users_private_group(gid_t gid) {
    const passwd* user = ::getpwuid(::geteuid());
    if (!user || user->pw_gid != gid) return false;
    const group* g = ::getgrgid(gid);
    if (!g || qstrcmp(g->gr_name, user->pw_name) != 0) return false;
    for (char** member = g->gr_mem; *member; ++member)
        if (qstrcmp(*member, user->pw_name) != 0) return false;
    return true;
}

QString parent_of(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

PathReport foreign_path_report(const QString& path) {
    // As far as it exists: a missing file or folder is made by the user, in the folder found here.
    QString at = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString whole = at;
    struct stat st {};
    while (::lstat(QFile::encodeName(at).constData(), &st) != 0 && at != u"/") at = parent_of(at);
    const auto cannot_check = [](const QString& where, int error_number) {
        return PathReport{PathProblem::cannot_check, where, error_number};
    };
    ResolvedPath walked;
    const int e = resolve_path(at, walked);
    if (e == foreign_link) return {PathProblem::link_of_another_user, at};
    if (e != 0 && e != EISDIR) return cannot_check(at, e);
    QString real = QFileInfo(at).canonicalFilePath();
    if (real.isEmpty()) return cannot_check(at, 0);
    for (bool itself = at == whole;; itself = false) {
        if (::stat(QFile::encodeName(real).constData(), &st) != 0) return cannot_check(real, errno);
        if (st.st_uid != 0 && st.st_uid != ::geteuid()) return {PathProblem::owned_by_another_user, real};
        const bool shared_sticky = !itself && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) && st.st_uid == 0;
        const bool others_write =
            (st.st_mode & S_IWOTH) || ((st.st_mode & S_IWGRP) && !users_private_group(st.st_gid));
        if (others_write && !shared_sticky) return {PathProblem::writable_by_others, real};
        if (real == u"/") return {};
        real = parent_of(real);
    }
}

bool read_up_to(QIODevice& dev, qint64 limit, QByteArray& out) {
    // The first piece is what the device says it holds; after a full piece the next is as large as what
    // came before, after a short one only a small look for more: the buffer is about what the file holds.
    // The small look goes to the stack: at the end of the file it finds nothing, and the buffer is not
    // grown for it.
    constexpr qint64 small = 4096;
    qint64 piece = std::max(small, dev.bytesAvailable() + 1);
    char look[small];
    while (out.size() <= limit) {
        const qsizetype at = out.size();
        const qint64 want = std::min<qint64>(piece, limit + 1 - at);
        if (piece == small) {
            const qint64 n = dev.read(look, want);
            if (n < 0) return false;
            if (n == 0) break;
            out.append(look, n);
            piece = n < want ? small : std::max<qint64>(small, out.size());
            continue;
        }
        out.resize(at + want);
        const qint64 n = dev.read(out.data() + at, want);
        if (n < 0) {
            out.resize(at);
            return false;
        }
        out.resize(at + n);
        if (n == 0) break;
        piece = n < want ? small : std::max<qint64>(small, out.size());
    }
    return true;
}

} // namespace tomarina
