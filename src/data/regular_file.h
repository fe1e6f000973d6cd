#pragma once

#include <QFile>
#include <QString>

namespace tomarina {

// Opens path read-only into file when it is a regular file. Anything else (a folder, a named pipe, a
// device) is refused at once: opening a named pipe for reading would wait for a writer forever.
bool open_regular_file(QFile& file, const QString& path);

} // namespace tomarina
