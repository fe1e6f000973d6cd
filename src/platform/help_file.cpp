#include "platform/help_file.h"

#include "data/regular_file.h"

#include <QFile>
#include <QFileInfo>

namespace tomarina {

namespace {

// "data:[type][;base64],payload".
std::optional<QByteArray> data_address_bytes(const QUrl& address) {
    const QByteArray whole = address.toEncoded(QUrl::RemoveScheme);
    const qsizetype comma = whole.indexOf(',');
    if (comma < 0) return std::nullopt;
    const QByteArray head = whole.left(comma);
    const QByteArray payload = QByteArray::fromPercentEncoding(whole.mid(comma + 1));
    QByteArray bytes = head.endsWith(";base64") ? QByteArray::fromBase64(payload) : payload;
    if (bytes.size() > help_size_limit) return std::nullopt;
    return bytes;
}

// At most the limit of an open file; nothing for a larger one.
std::optional<QByteArray> read_limited(QFile& file) {
    if (file.size() > help_size_limit) return std::nullopt;
    // Read no further than the limit: the file may still grow.
    QByteArray bytes;
    if (!read_up_to(file, help_size_limit, bytes) || bytes.size() > help_size_limit) return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> read_help_bytes(const QString& path) {
    QFile file;
    if (!open_regular_file(file, path)) return std::nullopt;
    return read_limited(file);
}

std::optional<QByteArray> help_picture(const QString& help_file, const QUrl& address) {
    if (address.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
        return data_address_bytes(address);
    const QString folder = QFileInfo(help_file).absolutePath();
    QUrl file_address = address;
    if (address.isRelative()) {
        if (!address.host().isEmpty()) return std::nullopt;
        file_address = QUrl::fromLocalFile(folder + u'/').resolved(address);
    }
    if (!file_address.isLocalFile() || !file_address.host().isEmpty()) return std::nullopt;
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString inside = root.endsWith(u'/') ? root : root + u'/';
    QFile file;
    if (root.isEmpty() || !open_regular_file(file, file_address.toLocalFile())) return std::nullopt;
    // The file as it was opened, links followed, must lie inside the help file's folder.
    const QString opened = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(file.handle()));
    if (!opened.startsWith(inside)) return std::nullopt;
    return read_limited(file);
}

} // namespace tomarina
