#include "program/end_signals.h"
#include "shared/form.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "shared/user_folder.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tomarina::catch_end_signals();
    tomarina::install_fonts();

    tomarina::AppState state;
    state.app_path = tomarina::choose_app_path_for(QCoreApplication::applicationDirPath());
    tomarina::DesktopPlatform platform;
    tomarina::Forms forms(state, platform);
    forms.on_end = [] { QCoreApplication::exit(0); };
    tomarina::provide_windows(forms);
    if (!tomarina::start_program(forms)) return 1;
    tomarina::handle_end_signals(&app, [&forms] {
        if (auto* main = forms.loaded<tomarina::tomarina1>())
            main->end_proc();
        else
            QCoreApplication::exit(0);
    });
    return app.exec();
}
