#pragma once

#include <QString>

namespace tomarina {

// The lock file that the running program holds in its program folder.
QString program_lock_path(const QString& folder);

// What the lock of a program folder says. Nothing here ever waits: a lock path that is no regular file is
// not opened, and the lock itself is a lock of the open file that the system drops when its holder ends.
struct LockState {
    enum Kind {
        free,        // nobody holds it (for ProgramLock::take: now this copy does)
        held,        // a copy on this machine holds it
        elsewhere,   // it names another machine, whose copy may be running on a shared folder
        not_regular, // the path is a pipe, a folder, a device or a link: not opened
        linked,      // a second name (hard link) of another file: not read as a lock
        unreadable,  // it could not be opened, read or locked; error says why
        cannot_make, // no lock file can be made here (a folder that cannot be written)
    };
    Kind kind = free;
    qint64 pid = 0; // the holder's process, when it wrote one
    QString host;   // the holder's machine, when it wrote one
    int error = 0;
};

// The lock of one program folder while this copy runs on it.
class ProgramLock {
  public:
    explicit ProgramLock(const QString& folder);
    ~ProgramLock(); // gives it up and removes the file
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // Takes the lock when nobody holds it, a lock left by a copy that ended here included.
    LockState take();

  private:
    QString path_;
    int fd_ = -1;
};

// The lock as it is, taken by nobody (the tool, before it writes into a folder).
LockState look_at_program_lock(const QString& folder);

// The start-up's "エラーメッセージ" when the lock of folder kept this copy from taking it: another copy may
// be using the folder, why, and that this run writes none of its files.
QString lock_refusal_message(const QString& folder, const LockState& s);

} // namespace tomarina
