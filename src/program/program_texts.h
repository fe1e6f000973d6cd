#pragma once

#include "shared/shared_texts.h"

#include <QString>
#include <QStringList>

// What the program shows as it starts, and the main menu.
namespace tomarina::program_texts {

// Main menu: the hint after the title in its caption, the name of its buttons' frame, and the buttons.
inline const QString help_hint = QStringLiteral("ヘルプ：Ｆ１");
inline const QString menu_name = QStringLiteral("メインメニュー");
inline const QString search_caption = QStringLiteral("ホテル検索＆予約");
inline const QString region_caption = QStringLiteral("地域指定で予約");
inline const QString tools_caption = QStringLiteral("保　　守");
inline const QString close_caption = QStringLiteral("終了");
inline const QString user_hotels_caption = QStringLiteral("ホテル登録保守");
// Main menu: the progress window's caption while the directory loads.
inline const QString loading_caption = QStringLiteral("ホテルデータの読み込み");

// The answer to --help on standard output.
inline const QString usage_text = QStringLiteral(
    "Usage: tomarina [-h | --help | --version]\n"
    "トマリナホテル情報＆予約: searches a directory of Japanese hotels and opens their pages in the "
    "web browser.\n"
    "The program takes no arguments and ignores any it is given; Qt's own options (such as -platform "
    "and -session) work as usual.\n\n"
    "  -h, --help  Show this help.\n"
    "  --version   Show the version and the licence.\n\n"
    "To type Japanese, start an input method that reaches Qt 6 programs (ibus with ibus-mozc, or\n"
    "fcitx5 with fcitx5-frontend-qt6) and switch it on in a text box; see man tomarina.\n");

// The fonts the windows name, and the installed metric twins that stand in for them.
inline const QString& gothic_family = shared_texts::grid_font_family;
inline const QString& pgothic_family = shared_texts::proportional_font_family;
inline const QStringList gothic_twins = {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
inline const QStringList pgothic_twins = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック")};

} // namespace tomarina::program_texts
