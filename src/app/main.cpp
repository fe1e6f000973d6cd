#include "app/form.h"
#include "app/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tomarina::install_fonts();

    tomarina::AppState state;
    state.app_path = QCoreApplication::applicationDirPath();
    tomarina::DesktopPlatform platform;
    tomarina::Forms forms(state, platform);
    forms.on_end = [] { QCoreApplication::exit(0); };
    if (!tomarina::start_program(forms)) return 1;
    return app.exec();
}
