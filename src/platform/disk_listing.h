#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tomarina {

// The real listings behind the browser disk search. Names come sorted so that every search walks the
// same order; hidden (dot) entries and symbolic links are left out, so a link loop is never entered.

// Ordinary files of folder (a path ending in "/").
QStringList disk_list_files(const QString& folder);
// Subfolders of folder that lie on folder's own file system: another mount is reached as a root of its
// own, not from inside this one.
QStringList disk_list_folders(const QString& folder);

// A file the browser disk search may register as the browser: a regular, executable file owned by root
// or by the user, which no other user can write or replace: neither it nor any folder on its path is
// writable by group or others or owned by another user (so nothing under /tmp qualifies).
bool trusted_program_file(const QString& path);

// The mount points of real devices in the text of /proc/self/mounts: "/" first, then the others by
// name, each ending in "/", a file system mounted twice listed once.
QStringList disk_roots_from_mounts(const QByteArray& mounts);
// The same for the running system.
QStringList disk_roots_of_system();

} // namespace tomarina
