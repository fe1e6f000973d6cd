#pragma once

#include "program/program.h"
#include "support/fake_platform.h"
#include "support/test_support.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextLayout>

namespace tomarina::test {

// A label's text as it is drawn: the lines its width breaks it into in its font, whether each line
// fits the width, and their height together.
struct DrawnLines {
    QStringList lines;
    bool fit_width = true;
    qreal height = 0;
};
inline DrawnLines drawn_lines(const QLabel* label) {
    QString text = label->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(text, label->font());
    QTextOption option;
    option.setWrapMode(label->wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    const int width = label->contentsRect().width();
    DrawnLines drawn;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        drawn.lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
        drawn.fit_width = drawn.fit_width && line.naturalTextWidth() <= width;
        drawn.height += line.height();
    }
    layout.endLayout();
    return drawn;
}

// Japanese text typed into a box as an input method hands it over: one committed string.
inline void commit_text(QWidget* box, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(box, &event);
}

// What the window says to a screen reader as a notification at the moment, empty when nothing.
inline QString announced(const QWidget* window) {
    for (QWidget* c : window->findChildren<QWidget*>()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        if (a && a->role() == QAccessible::Notification && c->isVisible()) return a->text(QAccessible::Name);
    }
    return {};
}

// The desktop as the browser lookup meets it, in a folder where a program may be registered (not under
// /tmp) that is every XDG folder and the PATH: an http handler running command
// (none when it is empty), and xdg-open when opener. The environment comes back when it goes.
struct DesktopHandler {
    QTemporaryDir dir{test::trusted_parent() + QStringLiteral("/desktop-XXXXXX")};
    QList<std::pair<const char*, QByteArray>> saved;
    QString opener() const { return dir.filePath(QStringLiteral("xdg-open")); }
    DesktopHandler(const QString& command, bool opener, const QByteArray& opener_script = "#!/bin/sh\n") {
        auto write = [this](const char* name, const QByteArray& bytes) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            return f.open(QIODevice::WriteOnly) && f.write(bytes) &&
                   f.setPermissions(QFileDevice::Permissions(0x7700));
        };
        if (!command.isEmpty() && QDir(dir.path()).mkdir(QStringLiteral("applications")))
            write("mimeapps.list", "[Default Applications]\nx-scheme-handler/http=web.desktop\n") &&
                write("applications/web.desktop", "[Desktop Entry]\nExec=" + command.toUtf8() + '\n');
        if (opener) write("xdg-open", opener_script);
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "PATH"}) {
            saved.append({name, qgetenv(name)});
            qputenv(name, QFile::encodeName(dir.path()));
        }
    }
    ~DesktopHandler() {
        for (const auto& [name, value] : saved) qputenv(name, value);
    }
};

// The windows as the program has them: each FormKind reaches its window.
struct WiredForms : Forms {
    WiredForms(AppState& state, Platform& platform) : Forms(state, platform) { provide_windows(*this); }
};

// The program over a program folder of its own, with message boxes and the help answered by the
// test double; ending the program is counted instead of quitting.
struct RunningProgram {
    ProgramDir dir;
    AppState st;
    FakePlatform pf;
    WiredForms forms{st, pf};
    int ended = 0;

    explicit RunningProgram(const QByteArray& dat = {}) : dir(dat) {
        st.app_path = dir.path();
        forms.on_end = [this] { ++ended; };
    }
    bool start() { return start_program(forms); }
};

} // namespace tomarina::test
