#include "shared/desktop_opener.h"

#include "platform/disk_listing.h"
#include "shared/settings.h"

#include <QDir>
#include <QFileInfo>

namespace tomarina {

bool registrable_browser(const QString& path) {
    return trusted_program_file(path) && storable_browser_path(path);
}

QString desktop_opener_path() {
    for (const QString& dir : qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts)) {
        const QString path = QDir::cleanPath(dir + QStringLiteral("/xdg-open"));
        // A folder relative to wherever the program was started names no fixed program.
        if (QDir::isAbsolutePath(dir) && registrable_browser(path)) return path;
    }
    return {};
}

bool register_desktop_opener(Settings& s, const QString& opener) {
    if (!storable_browser_path(opener)) return false;
    s.inet_data1 = QStringLiteral("1");
    s.inet_data2 = opener;
    return true;
}

bool create_settings_with_opener(const QString& ini_path, const QString& opener, QString* error) {
    if (!storable_browser_path(opener) || QFileInfo::exists(ini_path) || QFileInfo(ini_path).isSymLink()) return false;
    Settings s;
    // What the start-up sets before reading the file; written out, they must not read back as 0.
    s.max_kensuu = 1000;
    s.sv_pop = 1;
    s.apply_defaults();
    register_desktop_opener(s, opener);
    return write_settings_file(ini_path, s, error);
}

} // namespace tomarina
