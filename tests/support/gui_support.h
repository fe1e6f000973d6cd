#pragma once

#include "program/program.h"
#include "support/fake_platform.h"
#include "support/test_support.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLabel>
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
