#include "program/program.h"

#include "browser/browser_window.h"
#include "data/steps.h"
#include "program/command_line.h"
#include "program/main_menu_window.h"
#include "results/results_window.h"
#include "search/narrowing_window.h"
#include "tools/splash_window.h"

#include <QApplication>
#include <QFont>

namespace tomarina {

void install_fonts() {
    const QStringList gothic = {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    const QStringList pgothic = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック")};
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    QApplication::setFont(font);
}

void provide_windows(Forms& forms) {
    forms.provide<tomarina12>(FormKind::results);
    forms.provide<tomarina13>(FormKind::narrowing);
}

bool start_program(Forms& forms) {
    forms.state().ver_text = program_version();
    try_step("splash", [&] {
        frmSplash* splash = forms.show<frmSplash>();
        splash->repaint();
        QApplication::processEvents();
    });
    tomarina1* main = forms.load<tomarina1>();
    if (auto* splash = forms.loaded<frmSplash>()) splash->unload();
    if (!main) return false;
    main->show();
    main->raise();
    // The browser selection opened by the load comes over the menu, with the keyboard.
    if (forms.loaded<tomarina92>())
        forms.show<tomarina92>();
    else
        main->activateWindow();
    return true;
}

} // namespace tomarina
