#include "data/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomarina {

QString open_error_reason(int error_number) {
    switch (error_number) {
    case EACCES:
    case EPERM:
        return QStringLiteral("読み取りの権限がありません");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが発生しました");
    default:
        return QStringLiteral("エラー番号 %1").arg(error_number);
    }
}

bool open_regular_file(QFile& file, const QString& path, QString& why) {
    why.clear();
    // Opened without waiting and checked on the open handle, so nothing can swap the file in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) why = open_error_reason(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = QStringLiteral("通常のファイルではありません");
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        why = file.errorString();
        return false;
    }
    return true;
}

bool open_regular_file(QFile& file, const QString& path) {
    QString why;
    return open_regular_file(file, path, why);
}

} // namespace tomarina
