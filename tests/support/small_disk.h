#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace tomarina::test {

// A small tmpfs of the test's own, a real file system that fills up or turns read-only. Mounting needs
// root; elsewhere mounted() is false and why() says so, for the test to skip.
class SmallDisk {
  public:
    explicit SmallDisk(const char* options = "size=256k") {
        if (::geteuid() != 0) {
            why_ = "mounting a small tmpfs needs root";
            return;
        }
        if (::mount("tomarina-test", path_bytes().constData(), "tmpfs", 0, options) != 0) {
            why_ = QByteArray("could not mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(path_bytes().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const char* why() const { return why_.constData(); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    bool make_read_only() const {
        return ::mount(nullptr, path_bytes().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    QByteArray path_bytes() const { return QFile::encodeName(dir_.path()); }
    QTemporaryDir dir_;
    bool mounted_ = false;
    QByteArray why_;
};

} // namespace tomarina::test
