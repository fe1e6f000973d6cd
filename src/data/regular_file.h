#pragma once

#include <QFile>
#include <QString>

namespace tomarina {

// Opens path read-only into file when it is a regular file. Anything else (a folder, a named pipe, a
// device) is refused at once: opening a named pipe for reading would wait for a writer forever.
bool open_regular_file(QFile& file, const QString& path);
// The same, saying in why (in the user's words) what kept a file that is there from being opened; why
// stays empty for a file that is not there.
bool open_regular_file(QFile& file, const QString& path, QString& why);
// The user's words for a failed open.
QString open_error_reason(int error_number);

} // namespace tomarina
