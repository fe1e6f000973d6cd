#include "platform/xdg_handler.h"

#include "data/regular_file.h"
#include "data/text_rules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tomarina {

namespace {

QStringList env_list(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    QStringList out;
    for (const QString& part : (value.isEmpty() ? fallback : value).split(u':', Qt::SkipEmptyParts))
        out << part;
    return out;
}

// The value of key in group of a desktop-entry style file; nothing when absent.
std::optional<QString> entry_value(const QString& file, const QString& group, const QString& key) {
    QFile f;
    if (!open_regular_file(f, file)) return std::nullopt;
    bool in_group = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            in_group = line == u'[' + group + u']';
            continue;
        }
        if (!in_group || line.startsWith(u'#')) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed() == key) return line.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

std::optional<QString> desktop_file(const XdgPaths& paths, const QString& id) {
    if (id.isEmpty() || id.contains(u'/')) return std::nullopt;
    for (const QString& dir : paths.data_dirs) {
        const QString file = dir + QStringLiteral("/applications/") + id;
        if (QFileInfo(file).isFile()) return file;
    }
    return std::nullopt;
}

// The mimeapps.list files in the order the desktop consults them.
QStringList mimeapps_files(const XdgPaths& paths) {
    QStringList dirs = paths.config_dirs;
    for (const QString& dir : paths.data_dirs) dirs << dir + QStringLiteral("/applications");
    QStringList files;
    for (const QString& dir : dirs) {
        for (const QString& desktop : paths.desktops)
            files << dir + u'/' + desktop + QStringLiteral("-mimeapps.list");
        files << dir + QStringLiteral("/mimeapps.list");
    }
    return files;
}

} // namespace

XdgPaths xdg_paths_from_environment() {
    XdgPaths p;
    p.config_dirs = env_list("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
    p.config_dirs += env_list("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    p.data_dirs = env_list("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
    p.data_dirs += env_list("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& d : env_list("XDG_CURRENT_DESKTOP", {})) p.desktops << d.toLower();
    p.browser = qEnvironmentVariable("BROWSER");
    p.path = env_list("PATH", {});
    return p;
}

std::optional<QString> xdg_http_command(const XdgPaths& paths) {
    const QString mime = QStringLiteral("x-scheme-handler/http");
    // A handler whose program was removed leaves its name behind: the next one named is used then.
    const auto first_exec = [&](const QString& list, const QString& group) -> std::optional<QString> {
        const auto ids = entry_value(list, group, mime);
        for (const QString& id : ids ? ids->split(u';', Qt::SkipEmptyParts) : QStringList()) {
            const auto file = desktop_file(paths, id.trimmed());
            if (!file) continue;
            const auto exec = entry_value(*file, QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
            if (exec && !exec->isEmpty()) return exec;
        }
        return std::nullopt;
    };
    for (const QString& list : mimeapps_files(paths))
        for (const QString& group :
             {QStringLiteral("Default Applications"), QStringLiteral("Added Associations")})
            if (auto exec = first_exec(list, group)) return exec;
    // What the installed programs declare, as the desktop's database gathers it.
    for (const QString& dir : paths.data_dirs)
        if (auto exec = first_exec(dir + QStringLiteral("/applications/mimeinfo.cache"),
                                   QStringLiteral("MIME Cache")))
            return exec;
    if (!paths.browser.trimmed().isEmpty()) return paths.browser.trimmed();
    for (const QString& dir : paths.path) {
        const QFileInfo browser(dir + QStringLiteral("/x-www-browser"));
        if (QDir::isAbsolutePath(dir) && browser.isFile() && browser.isExecutable())
            return browser.filePath();
    }
    return std::nullopt;
}

std::optional<RegistryValue> desktop_registry_value(const QString& key, const QString& value) {
    if (key.compare(QLatin1String("http\\shell\\open\\command"), Qt::CaseInsensitive) != 0 ||
        !value.isEmpty())
        return std::nullopt;
    const auto command = xdg_http_command(xdg_paths_from_environment());
    if (!command) return std::nullopt;
    return RegistryValue{1, encode_cp932(*command) + '\0'};
}

} // namespace tomarina
