#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tomarina {

// Where the desktop keeps its settings and its programs' .desktop files, most important first.
struct XdgPaths {
    QStringList config_dirs; // XDG_CONFIG_HOME, then XDG_CONFIG_DIRS
    QStringList data_dirs;   // XDG_DATA_HOME, then XDG_DATA_DIRS
    QStringList desktops;    // XDG_CURRENT_DESKTOP, lower case
    QString browser;         // BROWSER, the system's browser xdg-open falls back to
    QStringList path;        // PATH, where x-www-browser is looked for after it
};

XdgPaths xdg_paths_from_environment();

// The command the desktop runs to open an http address, found where xdg-open finds it: the Exec line of
// the first handler with a .desktop file that mimeapps.list names (its default, then its added
// associations) or, after them, mimeinfo.cache names; else $BROWSER, else x-www-browser on the PATH.
// Nothing when the desktop has none of them.
std::optional<QString> xdg_http_command(const XdgPaths& paths);

// The one registry value this desktop answers: the default of http\shell\open\command, the command of
// the desktop's http handler as a text value in the ANSI code page. Nothing for any other value, or when
// the desktop has no handler.
std::optional<RegistryValue> desktop_registry_value(const QString& key, const QString& value);

} // namespace tomarina
