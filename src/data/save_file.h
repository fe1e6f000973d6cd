#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace tomarina {

// Replaces the file at path with bytes at once: the bytes go to a temporary file that is renamed over
// the old one, so a failed write leaves the old file whole. Returns false with the reason.
bool save_file(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Tests make the next saves fail here, as a full disk would, after the temporary file was written.
inline std::function<bool(const QString& path)> save_fault;

} // namespace tomarina
