#include "cli/tool_output.h"

#include "data/regular_file.h"

#include <QFile>
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
    // The program's own reasons a file is not read or written, beside the system's.
    switch (error_number) {
    case not_regular_file:
        return QStringLiteral("not a regular file");
    case foreign_link:
        return QStringLiteral("a symbolic link on the way belongs to another user and is not followed");
    case foreign_link_target:
        return QStringLiteral("a symbolic link leads to another user's file, which is not replaced");
    }
    static const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return QString::fromLocal8Bit(c_locale ? ::strerror_l(error_number, c_locale)
                                           : std::strerror(error_number));
}

QString unreadable_reason(const QString& path) {
    // The walk of the program's one opener, so that the reason is the one that kept the file from it.
    ResolvedPath at;
    if (const int e = resolve_path(path, at)) return system_reason(e);
    if (!at.exists) return system_reason(ENOENT);
    if (S_ISDIR(at.st.st_mode)) return system_reason(EISDIR);
    if (!S_ISREG(at.st.st_mode)) return system_reason(not_regular_file);
    const int fd = ::openat(at.folder, at.name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return system_reason(errno);
    ::close(fd);
    return QStringLiteral("cannot be read");
}

} // namespace tomarina
