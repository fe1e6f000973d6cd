#include "program/end_signals.h"
#include "shared/form.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "program/single_copy.h"
#include "shared/saves.h"
#include "data/save_file.h"
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
    // One copy per program folder: a later start brings the running copy's main menu to the front.
    tomarina::SingleCopy single_copy(state.app_path);
    const auto claim = single_copy.claim([&forms] { tomarina::bring_main_menu_to_front(forms); });
    if (claim == tomarina::SingleCopy::Claim::other) return 0;
    // Only now can no other copy be saving here: what stopped saves left behind goes.
    if (claim == tomarina::SingleCopy::Claim::first) tomarina::remove_save_leftovers(state.app_path, tomarina::saved_file_names());
    if (!tomarina::start_program(forms)) return 1;
    tomarina::handle_end_signals(&app, [&forms] {
        if (auto* main = forms.loaded<tomarina::tomarina1>())
            main->end_proc();
        else
            QCoreApplication::exit(0);
    });
    return app.exec();
}
