#include "cli/tool_output.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <unistd.h>

namespace tomarina {

namespace {

QString prefix = QStringLiteral("tomarina-tool");
int out_error = 0; // errno of the first failed write to standard output

void write_err(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void set_message_prefix(const QString& where) {
    prefix = where;
}

void tell(const QString& message) {
    write_err((prefix + QStringLiteral(": ") + message + u'\n').toUtf8());
}

void tell_file(const QString& file, const QString& reason) {
    tell(file + QStringLiteral(": ") + reason);
}

void print_out(const QByteArray& bytes) {
    if (out_error != 0 || bytes.isEmpty()) return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
        out_error = errno ? errno : EIO;
}

void print_out(const QString& text) {
    print_out(text.toUtf8());
}

bool finish_output() {
    errno = 0;
    if (std::fflush(stdout) != 0 && out_error == 0) out_error = errno ? errno : EIO;
    if (out_error == 0 && std::ferror(stdout)) out_error = EIO;
    if (out_error == 0) return true;
    tell(QStringLiteral("standard output: ") + system_reason(out_error));
    return false;
}

void guard_standard_streams() {
    for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
}

QString system_reason(int error_number) {
    static const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return QString::fromLocal8Bit(c_locale ? ::strerror_l(error_number, c_locale)
                                           : std::strerror(error_number));
}

QString unreadable_reason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return system_reason(ENOENT);
    if (info.isDir()) return system_reason(EISDIR);
    if (!info.isFile()) return QStringLiteral("not a regular file");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return system_reason(errno);
    ::close(fd);
    return QStringLiteral("cannot be read");
}

} // namespace tomarina
