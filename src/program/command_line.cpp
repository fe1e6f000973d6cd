#include "program/command_line.h"

#include "program/program_texts.h"
#include "tools/tools_texts.h"

namespace tomarina {

QString program_version() {
    return QStringLiteral(TOMARINA_VERSION);
}

EarlyAnswer early_answer(const QStringList& arguments) {
    for (const QString& a : arguments.mid(1)) {
        if (a == u"--help" || a == u"-h") return EarlyAnswer::help;
        if (a == u"--version") return EarlyAnswer::version;
    }
    return EarlyAnswer::none;
}

QString early_answer_text(EarlyAnswer answer) {
    switch (answer) {
    case EarlyAnswer::help:
        return program_texts::usage_text;
    case EarlyAnswer::version:
        return QStringLiteral("tomarina %1\n%2\n%3\n")
            .arg(program_version(), tools_texts::publisher_copyright, tools_texts::publisher_notice);
    case EarlyAnswer::none:
        break;
    }
    return {};
}

bool display_missing(const QStringList& arguments, const DisplayEnvironment& env) {
    if (!env.display.isEmpty() || !env.wayland_display.isEmpty()) return false;
    // Qt reads "-platform NAME" (or "--platform NAME"); the last one counts.
    QString platform = env.qpa_platform;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == u"-platform" || arguments[i] == u"--platform") platform = arguments[i + 1];
    // Without a name Qt tries X11 here; a list names fallbacks, each with options after a colon.
    if (platform.isEmpty()) return true;
    for (const QString& entry : platform.split(u';', Qt::SkipEmptyParts))
        if (entry.section(u':', 0, 0) != u"xcb") return false;
    return true;
}

} // namespace tomarina
