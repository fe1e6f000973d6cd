#pragma once

#include <QString>

// The texts the tools windows show, each written once.
namespace tomarina::tools_texts {

// The tools menu. The settings window's frame and tabs, and the About window, are named as the
// buttons that open them.
inline const QString settings_caption = QStringLiteral("動作環境の登録");
inline const QString about_caption = QStringLiteral("システム情報");
inline const QString close_caption = QStringLiteral("終了");

// The settings window: its two tabs, the browser lookup, the search limit and the detail choice.
inline const QString browser_tab_caption = QStringLiteral("ブラウザ登録");
inline const QString common_tab_caption = QStringLiteral("共通");
inline const QString browser_again_note =
    QStringLiteral("ブラウザ情報を再更新する場合、クリックしてください。");
inline const QString browser_again_caption = QStringLiteral("ブラウザの再登録");
inline const QString limit_caption = QStringLiteral("検索上限件数");
inline const QString limit_note =
    QStringLiteral("検索件数がこの上限件数を超えた場合、\n検索を打ち切り、検索結果を表示します。");
inline const QString detail_caption = QStringLiteral("ホテル詳細表示");
inline const QString show_detail_caption = QStringLiteral("表示する");
inline const QString hide_detail_caption = QStringLiteral("表示しない");

// The About window: the date of the hotel data (%1), and the version.
inline const QString data_date_note = QStringLiteral("%1現在のデータを使用しています");
inline const QString about_version = QStringLiteral("Version %1");

// The splash window.
inline const QString product_line = QStringLiteral("ホテル情報検索・オンライン予約支援ソフト");
inline const QString splash_version = QStringLiteral("Version  %1");
inline const QString platform_line = QStringLiteral("Windows95/98,NT/WS");
inline const QString splash_warning =
    QStringLiteral("ホテルの料金・設備などは変更されることがあります。\nご予約の前に必ずご確認ください。");

// The publisher's lines of the splash and About windows and of tomarina --version. The project's one
// address is its home page; the notice says what LICENSE grants.
inline const QString publisher_home_page = QStringLiteral("ホームページ：github.com/tomarina/tomarina");
inline const QString publisher_contact = QStringLiteral("お問い合わせ：github.com/tomarina/tomarina/issues");
inline const QString publisher_notice =
    QStringLiteral("本ソフトウェアはMITライセンスのフリーソフトウェアです。");
inline const QString publisher_copyright = QStringLiteral("Copyright (c) 2026 The tomarina developers");

} // namespace tomarina::tools_texts
