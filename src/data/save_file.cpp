#include "data/save_file.h"

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

// Not error numbers of the system: the file to replace is not a regular file; a link on the way
// belongs to another user; a link leads to another user's file.
constexpr int not_regular = -1;
constexpr int foreign_link = -2;
constexpr int foreign_target = -3;

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

// A folder held open while the save runs.
struct Folder {
    int fd = -1;
    Folder() = default;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        if (fd >= 0) ::close(fd);
    }
    void enter(int next) {
        if (next < 0) fail(errno);
        if (fd >= 0) ::close(fd);
        fd = next;
    }
};

// A symbolic link is followed only when the running user or root made it: another user's link would
// choose which file the program writes over.
void check_link_owner(const struct stat& st) {
    if (st.st_uid != ::geteuid() && st.st_uid != 0) fail(foreign_link);
}

// Walks path one name at a time from a folder held open, so that every link on the way (of a folder or
// of the file) is resolved once and checked, and nothing swapped in later can redirect the save. Ends
// with `folder` holding the real folder of the file to replace, which is a regular file or missing;
// returns its name there.
QByteArray resolve_target(const QString& path, Folder& folder) {
    const QByteArray bytes = QFile::encodeName(path);
    QList<QByteArray> rest = bytes.split('/');
    folder.enter(::open(bytes.startsWith('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    int links = 0;
    const auto more_names = [&rest] {
        return std::any_of(rest.cbegin(), rest.cend(),
                           [](const QByteArray& r) { return !r.isEmpty() && r != "."; });
    };
    while (!rest.isEmpty()) {
        const QByteArray name = rest.takeFirst();
        if (name.isEmpty() || name == ".") continue;
        const bool last = !more_names();
        struct stat st {};
        if (::fstatat(folder.fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last && name != "..") return name;
            fail(errno);
        }
        if (S_ISLNK(st.st_mode)) {
            check_link_owner(st);
            if (++links > 40) fail(ELOOP);
            QByteArray target(PATH_MAX, Qt::Uninitialized);
            const ssize_t n =
                ::readlinkat(folder.fd, name.constData(), target.data(), std::size_t(target.size()));
            if (n <= 0 || n >= target.size()) fail(n < 0 ? errno : EINVAL);
            target.truncate(n);
            if (target.startsWith('/')) folder.enter(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            rest = target.split('/') + rest;
            continue;
        }
        if (!last || name == "..") {
            if (!S_ISDIR(st.st_mode)) fail(ENOTDIR);
            // O_NOFOLLOW: a folder swapped for a link since it was looked at is refused, not followed.
            folder.enter(
                ::openat(folder.fd, name.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (last) fail(EISDIR);
            continue;
        }
        if (!S_ISREG(st.st_mode)) fail(S_ISDIR(st.st_mode) ? EISDIR : not_regular);
        // Through a link, only a file of the running user is replaced: even a trusted link may lead to
        // a file that is somebody else's.
        if (links > 0 && st.st_uid != ::geteuid()) fail(foreign_target);
        return name;
    }
    fail(EISDIR); // the path names a folder
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

bool save_file(const QString& path, const QByteArray& bytes, QString* error) {
    Folder folder;
    QByteArray temp_name;
    int fd = -1;
    try {
        // A symbolic link stays a link: its target gets the new content.
        const QByteArray target = resolve_target(path, folder);
        fd = create_temporary(folder.fd, QFile::decodeName(target), temp_name);
        struct stat old {};
        if (::fstatat(folder.fd, target.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode))
            ::fchmod(fd, old.st_mode & 07777); // the old file's permissions go over to the new one
        write_all(fd, bytes);
        if (disk->sync(fd) != 0) fail(errno);
        const int closed = disk->close(fd);
        fd = -1;
        if (closed != 0) fail(errno);
        if (disk->rename(folder.fd, temp_name.constData(), target.constData()) != 0) fail(errno);
    } catch (const Failed& f) {
        if (fd >= 0) ::close(fd);
        if (!temp_name.isEmpty()) ::unlinkat(folder.fd, temp_name.constData(), 0);
        if (error) *error = save_error_reason(f.error_number);
        errno = f.error_number == foreign_link || f.error_number == foreign_target ? EACCES : f.error_number;
        return false;
    }
    sync_folder(folder.fd);
    return true;
}

QString save_error_reason(int error_number) {
    switch (error_number) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EACCES:
    case EPERM:
        return QStringLiteral("フォルダまたはファイルに書き込む権限がありません。");
    case EROFS:
        return QStringLiteral("書き込みのできないディスクです。");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダがありません。");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダがあります。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます。");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ファイルが使用中です。");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが発生しました。");
    case not_regular:
        return QStringLiteral("通常のファイルではないため置き換えません。");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが多すぎます。");
    case foreign_link:
        return QStringLiteral("ほかの利用者のシンボリックリンクはたどりません。");
    case foreign_target:
        return QStringLiteral("シンボリックリンクの先がほかの利用者のファイルのため置き換えません。");
    default:
        return QStringLiteral("書き込みでエラーが発生しました（エラー番号 %1）。").arg(error_number);
    }
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

bool save_read_file(const QString& path, const QString& read_error, const QByteArray& bytes, bool encoded,
                    QString* error) {
    if (!read_error.isEmpty()) {
        if (error) *error = read_error + QStringLiteral("読み込めなかったファイルには書き込みません。");
        return false;
    }
    if (!encoded) {
        if (error) *error = cannot_encode_reason();
        return false;
    }
    return save_file(path, bytes, error);
}

QString cannot_encode_reason() {
    return QStringLiteral("ファイルに書けない文字があります。");
}

QString save_failed_message(const QString& file_name, const QString& reason) {
    return QStringLiteral("「%1」を保存できませんでした。\n%2\nファイルの内容は保存の前のままです。")
        .arg(file_name, reason);
}

} // namespace tomarina
