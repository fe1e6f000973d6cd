#include "platform/disk_listing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <sys/stat.h>
#include <unistd.h>

namespace tomarina {

namespace {

bool device_of(const QString& path, dev_t& dev) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return false;
    dev = st.st_dev;
    return true;
}

// Mount points in /proc/self/mounts write a blank, tab, newline and backslash as octal escapes.
QString unescape_mount_point(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && code < 256) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QFile::decodeName(out);
}

QString with_slash(QString path) {
    if (!path.endsWith(u'/')) path += u'/';
    return path;
}

} // namespace

QStringList disk_list_files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::NoSymLinks, QDir::Name);
}

QStringList disk_list_folders(const QString& folder) {
    dev_t own = 0;
    if (!device_of(folder, own)) return {};
    QStringList out;
    const QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : names) {
        dev_t dev = 0;
        if (device_of(with_slash(folder) + name, dev) && dev == own) out << name;
    }
    return out;
}

namespace {

bool owned_and_closed(const struct stat& st) {
    return (st.st_uid == 0 || st.st_uid == ::getuid()) && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

bool trusted_program_file(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0 || !owned_and_closed(st)) return false;
    if (::access(QFile::encodeName(path).constData(), X_OK) != 0) return false;
    // The folders as they really are, links resolved, from the file's own up to the root.
    QString folder = QFileInfo(path).canonicalPath();
    if (folder.isEmpty()) return false;
    for (;;) {
        if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
        if (!owned_and_closed(st)) return false;
        if (folder == u"/") return true;
        const qsizetype slash = folder.lastIndexOf(u'/');
        folder = slash <= 0 ? QStringLiteral("/") : folder.left(slash);
    }
}

QStringList disk_roots_from_mounts(const QByteArray& mounts) {
    QStringList points;
    for (const QByteArray& line : mounts.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2) continue;
        // Real devices only: no proc, sysfs, tmpfs, cgroup or other virtual file systems.
        if (!fields[0].startsWith("/dev/")) continue;
        const QString point = with_slash(unescape_mount_point(fields[1]));
        if (point != u"/" && !points.contains(point)) points << point;
    }
    points.sort();
    points.prepend(QStringLiteral("/"));
    return points;
}

QStringList disk_roots_of_system() {
    QFile f(QStringLiteral("/proc/self/mounts"));
    const QByteArray mounts = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    QStringList roots;
    QSet<dev_t> seen;
    for (const QString& root : disk_roots_from_mounts(mounts)) {
        dev_t dev = 0;
        if (!device_of(root, dev) || seen.contains(dev)) continue;
        seen.insert(dev);
        roots << root;
    }
    return roots;
}

} // namespace tomarina
