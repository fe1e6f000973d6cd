#pragma once

#include "data/file_report.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tomarina {

// Replaces the file at path with bytes: they go to a temporary file beside it, every write checked,
// synced to the disk, and only then renamed over the old file. On any failure the old file stays byte
// for byte, the temporary file is removed, false comes back and report says why (errno holds the
// system's reason). The new file keeps the old one's permissions (within 0777) only when the
// old one is the user's own, else it has a new file's; never more than most_mode.
bool save_file(const QString& path, const QByteArray& bytes, SaveReport* report = nullptr,
               unsigned most_mode = 0777);
// Why the last save on this thread failed: an error number, or one of the program's own reasons
// (regular_file.h), which errno gives as EACCES.
int last_save_failure();

// Removes from folder the temporary files that saves of the named files left behind when the program
// stopped in the middle of one (".NAME.tmp-HEX", regular files only). Call it only while no other copy
// of the program can be saving there.
void remove_save_leftovers(const QString& folder, const QStringList& names);

// Saves the encoded form of a file the program read itself. Refused, with the reason in report, while
// read_error says the file there could not be read in this run (it is never written over), or when
// encoded is false.
bool save_read_file(const QString& path, const ReadReport& read_error, const QByteArray& bytes, bool encoded,
                    SaveReport* report = nullptr);

// The system calls of a save, each returning as the system call does (-1 and errno on failure). Tests
// put a disk that fails in place of the real one.
class SaveDisk {
  public:
    virtual ~SaveDisk() = default;
    // A new file in the folder open as dir, created exclusively.
    virtual int create(int dir, const char* name);
    virtual qint64 write(int fd, const char* data, qint64 size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(int dir, const char* from, const char* to);
};

// The disk the saves go to; null puts the real one back.
void use_save_disk(SaveDisk* disk);

} // namespace tomarina
