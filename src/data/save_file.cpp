#include "data/save_file.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
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

// Not an error number of the system: the file to replace is not a regular file.
constexpr int not_regular = -1;

[[noreturn]] void fail(int error_number) {
    throw Failed{error_number ? error_number : EIO};
}

// A fresh file beside the target, named so that no other save picks the same one.
int create_temporary(const QString& dir, const QString& name, QByteArray& temp_path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = dir + QStringLiteral("/.") + name + QStringLiteral(".tmp-") +
                                  QString::number(QRandomGenerator::global()->generate(), 16);
        temp_path = QFile::encodeName(candidate);
        const int fd = disk->create(temp_path.constData());
        if (fd >= 0) return fd;
        if (errno != EEXIST) fail(errno);
    }
    fail(EEXIST);
}

void write_all(int fd, const QByteArray& bytes) {
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = disk->write(fd, bytes.constData() + written, std::min(piece, bytes.size() - written));
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
void sync_folder(const QByteArray& dir) {
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The file a save of path replaces: path itself, or what its chain of symbolic links ends at. Only a
// regular file or a missing one may be replaced; anything else (a device, a folder, a pipe) is refused.
QString save_target(const QString& path) {
    QString at = QFileInfo(path).absoluteFilePath();
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(QFile::encodeName(at).constData(), &st) != 0) {
            if (errno == ENOENT) return at;
            fail(errno);
        }
        if (S_ISREG(st.st_mode)) return at;
        if (S_ISDIR(st.st_mode)) fail(EISDIR);
        if (!S_ISLNK(st.st_mode)) fail(not_regular);
        if (hops >= 40) fail(ELOOP);
        const QFileInfo link(at);
        const QString next = link.symLinkTarget();
        if (next.isEmpty()) fail(EINVAL);
        at = QFileInfo(link.absoluteDir(), next).absoluteFilePath();
    }
}

} // namespace

int SaveDisk::create(const char* path) {
    return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
int SaveDisk::rename(const char* from, const char* to) {
    return ::rename(from, to);
}

void use_save_disk(SaveDisk* d) {
    disk = d ? d : &real_disk;
}

bool save_file(const QString& path, const QByteArray& bytes, QString* error) {
    QByteArray temp_path;
    QString dir;
    int fd = -1;
    try {
        // A symbolic link stays a link: its target gets the new content.
        const QFileInfo info(save_target(path));
        dir = info.absolutePath();
        const QByteArray target = QFile::encodeName(info.absoluteFilePath());
        fd = create_temporary(dir, info.fileName(), temp_path);
        struct stat old {};
        if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(fd, old.st_mode & 07777); // the old file's permissions go over to the new one
        write_all(fd, bytes);
        if (disk->sync(fd) != 0) fail(errno);
        const int closed = disk->close(fd);
        fd = -1;
        if (closed != 0) fail(errno);
        if (disk->rename(temp_path.constData(), target.constData()) != 0) fail(errno);
    } catch (const Failed& f) {
        if (fd >= 0) ::close(fd);
        if (!temp_path.isEmpty()) ::unlink(temp_path.constData());
        if (error) *error = save_error_reason(f.error_number);
        errno = f.error_number;
        return false;
    }
    sync_folder(QFile::encodeName(dir));
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
