#include "data/save_file.h"

#include "data/regular_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomarina {

namespace {

// Pieces of at most this size go to the disk, so a disk that fills up stops the save at a piece's
// boundary or inside one, never unnoticed.
constexpr qint64 piece = 4096;

SaveDisk real_disk;
SaveDisk* disk = &real_disk;

struct Failed {
    int error_number;
};

thread_local int last_failure = 0;

[[noreturn]] void fail(int error_number) {
    throw Failed{error_number ? error_number : EIO};
}

// A fresh file beside the target, in the folder the save resolved, named so that no other save picks
// the same one.
int create_temporary(int dir, const QString& name, QByteArray& temp_name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_name = QFile::encodeName(QStringLiteral(".") + name + QStringLiteral(".tmp-") +
                                      QString::number(QRandomGenerator::global()->generate(), 16));
        const int fd = disk->create(dir, temp_name.constData());
        if (fd >= 0) return fd;
        if (errno != EEXIST) fail(errno);
    }
    fail(EEXIST);
}

void write_all(int fd, const QByteArray& bytes) {
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n =
            disk->write(fd, bytes.constData() + written, std::min(piece, bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (n == 0) fail(ENOSPC);
        written += n;
    }
}

// The rename reaches the disk with the folder's entry; a failure here no longer matters for the file,
// which is whole in its old or its new form.
void sync_folder(int dir) {
    const int fd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The real folder and name of the file to replace, which is a regular file or missing; links followed
// by the one rule of reading and writing.
void resolve_target(const QString& path, ResolvedPath& at) {
    if (const int e = resolve_path(path, at)) fail(e);
    if (!at.exists) return;
    if (!S_ISREG(at.st.st_mode)) fail(S_ISDIR(at.st.st_mode) ? EISDIR : not_regular_file);
    // Through a link, only a file of the running user is replaced: even a trusted link may lead to a file
    // that is somebody else's.
    if (at.links > 0 && at.st.st_uid != ::geteuid()) fail(foreign_link_target);
}

} // namespace

int SaveDisk::create(int dir, const char* name) {
    return ::openat(dir, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}
qint64 SaveDisk::write(int fd, const char* data, qint64 size) {
    return ::write(fd, data, std::size_t(size));
}
int SaveDisk::sync(int fd) {
    return ::fsync(fd);
}
int SaveDisk::close(int fd) {
    return ::close(fd);
}
int SaveDisk::rename(int dir, const char* from, const char* to) {
    return ::renameat(dir, from, dir, to);
}

void use_save_disk(SaveDisk* d) {
    disk = d ? d : &real_disk;
}

bool save_file(const QString& path, const QByteArray& bytes, SaveReport* report, unsigned most_mode) {
    ResolvedPath folder;
    QByteArray temp_name;
    int fd = -1;
    try {
        // A symbolic link stays a link: its target gets the new content.
        resolve_target(path, folder);
        const QByteArray& target = folder.name;
        fd = create_temporary(folder.folder, QFile::decodeName(target), temp_name);
        // The old permissions go over only from a file of the user's own, and never set-id bits: another
        // user's file must not hand its mode to what the user writes.
        struct stat made {};
        mode_t mode = ::fstat(fd, &made) == 0 ? made.st_mode & 0777 : 0600;
        if (folder.exists && folder.st.st_uid == ::geteuid()) mode = folder.st.st_mode & 0777;
        mode &= most_mode;
        if (mode != (made.st_mode & 07777)) ::fchmod(fd, mode);
        write_all(fd, bytes);
        if (disk->sync(fd) != 0) fail(errno);
        const int closed = disk->close(fd);
        fd = -1;
        if (closed != 0) fail(errno);
        if (disk->rename(folder.folder, temp_name.constData(), target.constData()) != 0) fail(errno);
    } catch (const Failed& f) {
        if (fd >= 0) ::close(fd);
        if (!temp_name.isEmpty()) ::unlinkat(folder.folder, temp_name.constData(), 0);
        if (report) *report = save_report(f.error_number);
        last_failure = f.error_number;
        errno = f.error_number < 0 ? EACCES : f.error_number;
        return false;
    }
    sync_folder(folder.folder);
    if (report) *report = {};
    return true;
}

int last_save_failure() {
    return last_failure;
}

void remove_save_leftovers(const QString& folder, const QStringList& names) {
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        for (const QString& name : names) {
            const QString prefix = u'.' + name + QStringLiteral(".tmp-");
            if (!entry.startsWith(prefix)) continue;
            const QStringView rest = QStringView(entry).mid(prefix.size());
            bool hex = !rest.isEmpty() && rest.size() <= 8;
            for (const QChar c : rest) hex = hex && ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'));
            const QByteArray path = QFile::encodeName(QDir(folder).filePath(entry));
            struct stat st {};
            if (hex && ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.constData());
        }
    }
}

bool save_read_file(const QString& path, const ReadReport& read_error, const QByteArray& bytes, bool encoded,
                    SaveReport* report) {
    if (read_error.failed()) {
        if (report) *report = {FileProblem::unread_this_run, 0, read_error};
        return false;
    }
    if (!encoded) {
        if (report) *report = {FileProblem::cannot_encode, 0, {}};
        return false;
    }
    return save_file(path, bytes, report);
}

} // namespace tomarina
