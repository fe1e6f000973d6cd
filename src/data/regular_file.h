#pragma once

#include "data/file_report.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>

namespace tomarina {

// Reasons of the program's own beside the system's error numbers: the file is no regular file; a
// symbolic link on the way belongs to another user; a link leads to another user's file (refused for a
// save only).
inline constexpr int not_regular_file = -1;
inline constexpr int foreign_link = -2;
inline constexpr int foreign_link_target = -3;

// The end of a path walked one name at a time from a folder held open: every symbolic link on the way
// (of a folder or of the file) is resolved once and followed only when it belongs to the running user
// or to root, so another user's link never chooses which file the program reads or writes.
struct ResolvedPath {
    int folder = -1; // the real folder of the file (O_PATH), open while this lives
    QByteArray name; // the file's name in it
    bool exists = false;
    struct stat st {}; // the file as found, not followed, when it exists
    int links = 0;     // links followed on the way
    ResolvedPath() = default;
    ResolvedPath(const ResolvedPath&) = delete;
    ResolvedPath& operator=(const ResolvedPath&) = delete;
    ~ResolvedPath();
};
// 0, or the error number (or one of the reasons above) that stopped the walk.
int resolve_path(const QString& path, ResolvedPath& out);

enum class OpenedFile { opened, missing, not_regular, unreadable };
// The one opener of every file the program and the tool read from the program folder or the user folder:
// opens path read-only into file when it is a regular file, links followed by the rule above. Anything
// else (a folder, a named pipe, a device) is refused at once: opening a named pipe for reading would wait
// for a writer forever. why reports what kept a file that is there from being opened.
OpenedFile open_file_for_reading(QFile& file, const QString& path, ReadReport& why);
// The same as true or false; why reports nothing for a file that is not there.
bool open_regular_file(QFile& file, const QString& path, ReadReport& why);
bool open_regular_file(QFile& file, const QString& path);

// Why another user could change what path holds, naming the file or folder; none
// when path (as far as it exists) and every folder on its way, links resolved, belong to root or the
// running user, none can be written by anyone else and every link followed is theirs. A root-owned
// sticky folder on the way (like /tmp) counts as safe, and a file or folder writable by its group when
// that group is the user's own private group.
PathReport foreign_path_report(const QString& path);

// Reads what is left of dev, at most limit + 1 bytes, growing the buffer with what comes so that a small
// file costs little; false on a read error.
bool read_up_to(QIODevice& dev, qint64 limit, QByteArray& out);

} // namespace tomarina
