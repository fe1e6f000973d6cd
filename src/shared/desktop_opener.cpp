#include "shared/desktop_opener.h"

#include "shared/settings.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace tomarina {

QString desktop_opener_path() {
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
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
