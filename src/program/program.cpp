#include "program/program.h"

#include "browser/browser_window.h"
#include "data/steps.h"
#include "platform/nested_loop.h"
#include "program/command_line.h"
#include "program/end_signals.h"
#include "program/main_menu_window.h"
#include "program/program_texts.h"
#include "results/results_window.h"
#include "search/narrowing_window.h"
#include "tools/splash_window.h"

#include <QApplication>
#include <QFont>

namespace tomarina {

void install_fonts() {
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), program_texts::gothic_twins);
    QFont::insertSubstitutions(program_texts::gothic_family, program_texts::gothic_twins);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), program_texts::pgothic_twins);
    QFont::insertSubstitutions(program_texts::pgothic_family, program_texts::pgothic_twins);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont font(program_texts::pgothic_family);
    font.setPointSize(9);
    QApplication::setFont(font);
}

void set_desktop_identity() {
    // The class is the menu entry's StartupWMClass, whatever the program file is called.
    QCoreApplication::setApplicationName(QStringLiteral("tomarina"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tomarina.Tomarina"));
}

void provide_windows(Forms& forms) {
    forms.provide<ResultsWindow>(FormKind::results);
    forms.provide<NarrowingWindow>(FormKind::narrowing);
}

void end_on_signals(QObject* context, Forms& forms) {
    handle_end_signals(context, [context, &forms] {
        const auto end = [&forms] {
            if (auto* main = forms.loaded<MainMenuWindow>())
                main->close_window();
            else
                forms.end_program();
        };
        // The session follows its signal with SIGKILL: from here on no message box waits for an answer.
        const bool requested = forms.end_requested();
        forms.note_end_request();
        // Inside a nested loop the end waits until the loop has returned.
        if (!NestedLoop::running())
            end();
        else if (!requested)
            NestedLoop::after(context, end);
    });
}

bool start_program(Forms& forms) {
    AppState& st = forms.state();
    st.ver_text = program_version();
    if (st.app_path.isEmpty()) st.app_path = QCoreApplication::applicationDirPath();
    try_step("splash", [&] {
        SplashWindow* splash = forms.show<SplashWindow>();
        splash->repaint();
        NestedLoop::process_events();
    });
    MainMenuWindow* main = forms.load<MainMenuWindow>();
    if (auto* splash = forms.loaded<SplashWindow>()) splash->unload();
    if (!main) return false;
    // An end asked for during the load is carried out as soon as the load has returned, with the usual
    // saves: there is no main loop yet to run it, and the session kills a program that lingers.
    if (forms.end_requested()) {
        main->close_window();
        return true;
    }
    main->show();
    main->raise();
    // The browser selection opened by the load comes over the menu, with the keyboard.
    if (forms.loaded<BrowserWindow>())
        forms.show<BrowserWindow>();
    else
        main->activateWindow();
    return true;
}

} // namespace tomarina
