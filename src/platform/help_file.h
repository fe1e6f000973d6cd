#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace tomarina {

// The most the help window reads of one file, the help file or a picture: a help page and its pictures
// are far smaller, and a device or a huge file must not fill the memory.
inline constexpr qint64 help_size_limit = 4 * 1024 * 1024;

// The bytes of a regular file of at most the limit; nothing for anything else (a device, a named pipe,
// a folder, a larger file).
std::optional<QByteArray> read_help_bytes(const QString& path);

// A picture the help file shows: one written into it (a data: address), or a regular file in the help
// file's folder or below it, links resolved. Nothing for any other address: another folder, a device,
// the network.
std::optional<QByteArray> help_picture(const QString& help_file, const QUrl& address);

} // namespace tomarina
