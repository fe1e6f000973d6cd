#pragma once

#include "data/save_file.h"

#include <algorithm>
#include <cerrno>

namespace tomarina {

// What the disk does during the next saves. The defaults change nothing.
struct SaveFaults {
    // Bytes the disk takes in one save before a write fails; negative: no limit.
    qint64 space = -1;
    // The error of that failing write.
    int write_error = ENOSPC;
    bool fail_create = false;
    bool fail_sync = false;
    bool fail_close = false;
    bool fail_rename = false;
};
inline SaveFaults save_faults;

// The real disk with the faults of save_faults; in place for every test that includes this header.
class FaultyDisk : public SaveDisk {
  public:
    FaultyDisk() { use_save_disk(this); }
    ~FaultyDisk() override { use_save_disk(nullptr); }

    // How many saves began.
    int saves() const { return saves_; }

    int create(int dir, const char* name) override {
        ++saves_;
        written_ = 0;
        if (save_faults.fail_create) return fail(EACCES);
        return SaveDisk::create(dir, name);
    }
    // Short when the space runs out, then failing.
    qint64 write(int fd, const char* data, qint64 size) override {
        if (save_faults.space >= 0) {
            const qint64 room = save_faults.space - written_;
            if (room <= 0) return fail(save_faults.write_error);
            size = std::min(size, room);
        }
        const qint64 n = SaveDisk::write(fd, data, size);
        if (n > 0) written_ += n;
        return n;
    }
    int sync(int fd) override { return save_faults.fail_sync ? fail(EIO) : SaveDisk::sync(fd); }
    int close(int fd) override {
        const int closed = SaveDisk::close(fd);
        return save_faults.fail_close ? fail(EIO) : closed;
    }
    int rename(int dir, const char* from, const char* to) override {
        return save_faults.fail_rename ? fail(EACCES) : SaveDisk::rename(dir, from, to);
    }

  private:
    static int fail(int error) {
        errno = error;
        return -1;
    }
    qint64 written_ = 0;
    int saves_ = 0;
};
inline FaultyDisk faulty_disk;

} // namespace tomarina
