#pragma once

// Every user-visible text of the platform layer, written once.

#include <QString>

#include <array>

namespace tomarina::platform_texts {

// Message boxes: the cancel button's caption, what a screen reader calls the icon (by MsgIcon, none
// first) and the row of buttons.
inline const QString cancel_caption = QStringLiteral("キャンセル");
inline const std::array<QString, 5> icon_names = {QString(), QStringLiteral("情報"), QStringLiteral("注意"),
                                                  QStringLiteral("エラー"), QStringLiteral("質問")};
inline const QString answer_row_name = QStringLiteral("応答");

// The help window: its title, and the page it shows when the help file (%1) cannot be shown (%2 says
// whether it is there).
inline const QString help_title = QStringLiteral("トマリナホテル情報＆予約 ヘルプ");
inline const QString help_not_shown = QStringLiteral("<p>ヘルプファイル %1 %2。</p>");
inline const QString help_cannot_be_shown = QStringLiteral("を表示できません");
inline const QString help_not_found = QStringLiteral("が見つかりません");

} // namespace tomarina::platform_texts
