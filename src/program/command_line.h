#pragma once

#include <QString>
#include <QStringList>

namespace tomarina {

// The project's version (CMake's project version), for the windows, the command line and the tool.
QString program_version();

// The program takes no arguments. --help (-h) and --version are the desktop's convention and are answered
// before any window exists; everything else is ignored here (Qt's own options, such as -platform and
// -session, are Qt's).
enum class EarlyAnswer { none, help, version };
EarlyAnswer early_answer(const QStringList& arguments);
QString early_answer_text(EarlyAnswer answer);

// True when the windows certainly have nowhere to go: Qt would use the X11 platform (its default, or
// named by -platform or QT_QPA_PLATFORM) and neither DISPLAY nor WAYLAND_DISPLAY names a display.
struct DisplayEnvironment {
    QString qpa_platform;    // QT_QPA_PLATFORM
    QString display;         // DISPLAY
    QString wayland_display; // WAYLAND_DISPLAY
};
bool display_missing(const QStringList& arguments, const DisplayEnvironment& env);

} // namespace tomarina
