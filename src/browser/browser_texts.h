#pragma once

#include "shared/shared_texts.h"

#include <QString>

// The texts of the browser selection window and of opening a page, each written once.
namespace tomarina::browser_texts {

// The browser selection window: its controls.
inline const QString choice_caption = QStringLiteral("ブラウザの選択");
inline const QString explorer_caption = QStringLiteral("Internet Explorer");
inline const QString netscape_caption = QStringLiteral("Netscape Navigator");
inline const QString no_browser_caption = QStringLiteral("未使用");
inline const QString file_box_name = QStringLiteral("検索中のファイル");
inline const QString search_caption = QStringLiteral("検索開始");
inline const QString close_caption = QStringLiteral("終了");

// The selection window's guidance, as it opens and once a browser is chosen.
inline const QString guidance_open = QStringLiteral("インストール直後のためブラウザを選択してください。");
inline const QString guidance_search =
    QStringLiteral("検索開始ボタンをクリックして下さい。\r\nブラウザの環境設定には少々時間がかかります。");
// What the selection window shows and says while its disk search runs, and what is said as it ends.
inline const QString searching = QStringLiteral("検索中...");
inline const QString registered = QStringLiteral("ブラウザを登録しました");
inline const QString not_found = QStringLiteral("ブラウザが見つかりませんでした");
// The question before "no browser" is taken.
inline const QString no_browser_question =
    QStringLiteral("インターネットを利用した予約は行えません\r\n処理を続行しますか");
using shared_texts::confirm_title;

// The caution before a page opens.
inline const QString caution =
    QStringLiteral("ホテル情報、予約は各ホテルのルールに従い、利用者の責任で行って下さい\r\n"
                   "予約等のトラブルが発生しても作者は一切関知しません\r\n"
                   "本メッセージは３回まで表示します");
using shared_texts::caution_title;

// A browser that could not be started, and one that is not started (%1: the registered command).
inline const QString start_failed = QStringLiteral("ブラウザを起動できませんでした。\r\n");
inline const QString command_refused =
    QStringLiteral("登録されたブラウザ「%1」はほかの利用者が書き換えられるため、起動しません。\r\n");
using shared_texts::error_title;

} // namespace tomarina::browser_texts
