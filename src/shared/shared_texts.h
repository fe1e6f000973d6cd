#pragma once

// The texts of the shared layer, each written once: what the start-up, the windows and tomarina-tool say
// about the lock, the user folder, reads and saves, and the names the search and the grids share. The
// data and platform layers report what happened (data/file_report.h); the words are here.

#include "data/file_report.h"

#include <QString>
#include <array>

namespace tomarina::shared_texts {

// The program's name, the caption of every window but the main menu and the About window.
inline const QString app_title = QStringLiteral("トマリナホテル情報＆予約");
// The title of every message box that tells a failure.
inline const QString error_title = QStringLiteral("エラーメッセージ");
// The title of a message box that asks before something is done, and of one that warns.
inline const QString confirm_title = QStringLiteral("確認メッセージ");
inline const QString caution_title = QStringLiteral("注意メッセージ");

// What a screen reader says of an empty cell of a grid.
inline const QString empty_cell_name = QStringLiteral("空欄");
// The fonts the windows name: the hotel grids ask for the first.
inline const QString grid_font_family = QStringLiteral("ＭＳ ゴシック");
inline const QString proportional_font_family = QStringLiteral("ＭＳ Ｐゴシック");
// The headings of a hotel's seven columns, in the results grid and the maintenance list alike.
inline const std::array<QString, 7> hotel_column_headings = {
    QStringLiteral("地区"),      QStringLiteral("ホテル名"), QStringLiteral("電話番号"),
    QStringLiteral("部屋数"),    QStringLiteral("交通"),     QStringLiteral("料金(ｼﾝｸﾞﾙ)"),
    QStringLiteral("備考(評価)")};
// The mark before the heading of the column the rows are ordered by.
inline const QString ordering_mark = QStringLiteral("▼ ");

// The orderings, by the names the settings keep and the tool takes.
inline constexpr char16_t order_by_prefecture[] = u"ホテル都道府県";
inline constexpr char16_t order_by_airport[] = u"ホテル空港";
inline constexpr char16_t order_by_district[] = u"ホテル詳細";
inline constexpr char16_t order_by_name[] = u"ホテル名";
inline constexpr char16_t order_by_tel[] = u"ホテル電話";
inline constexpr char16_t order_by_rooms[] = u"ホテル部屋数";
inline constexpr char16_t order_by_price[] = u"ホテル料金";

// The search window and the tool: a search entry that selects nothing.
inline const QString search_entry_error = QStringLiteral("検索条件の入力エラーです");

// Reads and saves (describe below): why a file could not be read, as a phrase and as a sentence, and
// why a save failed.
inline const QString read_no_permission = QStringLiteral("読み取りの権限がありません");
inline const QString read_disk_error = QStringLiteral("ディスクの読み書きでエラーが発生しました");
inline const QString read_not_regular = QStringLiteral("通常のファイルではありません");
inline const QString read_foreign_link = QStringLiteral("ほかの利用者のシンボリックリンクはたどりません");
inline const QString read_too_many_links = QStringLiteral("シンボリックリンクが多すぎます");
inline const QString read_error_number = QStringLiteral("エラー番号 %1");
inline const QString read_failed = QStringLiteral("読み込みエラー");
inline const QString read_too_large = QStringLiteral("ファイルが大きすぎます");
inline const QString read_out_of_memory = QStringLiteral("メモリが足りません");
inline const QString file_not_read = QStringLiteral("ファイルを読み込めませんでした（%1）。");

inline const QString save_no_space = QStringLiteral("ディスクの空き容量が足りません。");
inline const QString save_no_permission =
    QStringLiteral("フォルダまたはファイルに書き込む権限がありません。");
inline const QString save_read_only_disk = QStringLiteral("書き込みのできないディスクです。");
inline const QString save_no_folder = QStringLiteral("保存先のフォルダがありません。");
inline const QString save_folder_of_the_name = QStringLiteral("同じ名前のフォルダがあります。");
inline const QString save_too_large = QStringLiteral("ファイルが大きすぎます。");
inline const QString save_too_many_open = QStringLiteral("開いているファイルが多すぎます。");
inline const QString save_busy = QStringLiteral("ファイルが使用中です。");
inline const QString save_disk_error = QStringLiteral("ディスクの読み書きでエラーが発生しました。");
inline const QString save_not_regular = QStringLiteral("通常のファイルではないため置き換えません。");
inline const QString save_too_many_links = QStringLiteral("シンボリックリンクが多すぎます。");
inline const QString save_foreign_link = QStringLiteral("ほかの利用者のシンボリックリンクはたどりません。");
inline const QString save_foreign_link_target =
    QStringLiteral("シンボリックリンクの先がほかの利用者のファイルのため置き換えません。");
inline const QString save_error_number = QStringLiteral("書き込みでエラーが発生しました（エラー番号 %1）。");
inline const QString save_cannot_encode = QStringLiteral("ファイルに書けない文字があります。");
inline const QString save_unread_file = QStringLiteral("読み込めなかったファイルには書き込みません。");

// The "エラーメッセージ" of a failed save: the file (%1), why (%2), and that it is unchanged.
inline const QString save_failed =
    QStringLiteral("「%1」を保存できませんでした。\n%2\nファイルの内容は保存の前のままです。");
// The maintenance list that cannot open on a user file (%1) that cannot be read, why (%2).
inline const QString user_file_not_readable =
    QStringLiteral("「%1」を読み込めないため、ホテル登録保守を開けません。\n%2\nファイルはそのままです。");

// Why another user could change a file or folder (%1); %2 says why it could not be looked at.
inline const QString path_foreign_link =
    QStringLiteral("「%1」への道にほかの利用者のシンボリックリンクがあります。");
inline const QString path_cannot_check_why = QStringLiteral("「%1」を調べられません（%2）。");
inline const QString path_cannot_check = QStringLiteral("「%1」を調べられません。");
inline const QString path_of_another_user = QStringLiteral("「%1」はほかの利用者のものです。");
inline const QString path_writable_by_others = QStringLiteral("「%1」はほかの利用者も書き込めます。");

// The start-up's "エラーメッセージ" when another copy may be using the program folder (%1), why (%2).
inline const QString lock_refusal = QStringLiteral(
    "ほかに起動しているトマリナホテル情報＆予約がフォルダー「%1」を使っているかもしれません。\n%2\n\n"
    "このフォルダーのファイルを読み取り専用で使います。設定や登録したホテルは保存されません。");
inline const QString lock_not_answering =
    QStringLiteral("このフォルダーで動いているトマリナホテル情報＆予約が応答しません。");
// The other machine (%1), the process there (%2), the lock file (%3).
inline const QString lock_elsewhere =
    QStringLiteral("別のコンピューター「%1」のトマリナホテル情報＆予約（プロセス番号 %2）が使っています。"
                   "そこで動いていなければ、ロックファイル「%3」を削除して下さい。");
inline const QString lock_not_regular =
    QStringLiteral("ロックファイル「%1」が通常のファイルではありません。");
inline const QString lock_linked =
    QStringLiteral("ロックファイル「%1」がほかのファイルの別名（ハードリンク）になっています。");
inline const QString lock_unreadable = QStringLiteral("ロックファイル「%1」を読み込めません（%2）。");

// The user folder at the start: why a file could not be copied or the folder cannot be used.
inline const QString source_not_readable = QStringLiteral("元のファイルを読み込めません（%1）。");
inline const QString help_left_out = QStringLiteral("\nヘルプは表示されないか、前の版のままです。");
inline const QString copy_failed = QStringLiteral("「%1」を利用者のフォルダーに写せませんでした。%2");
inline const QString no_home =
    QStringLiteral("利用者のデータフォルダーの場所が決まりません（HOME が設定されていません）。");
inline const QString file_of_the_name = QStringLiteral("同じ名前のファイルがあります。");
// The start-up's message about the user folder (%1), why (%2).
inline const QString user_folder_copy_failed =
    QStringLiteral("利用者のフォルダー「%1」はありますが、ファイルを写せませんでした。\n%2\n\n");
inline const QString user_folder_unusable = QStringLiteral("利用者のフォルダー「%1」を使えません。\n%2\n\n");
inline const QString no_user_folder = QStringLiteral("（なし）");
inline const QString read_only_run = QStringLiteral(
    "プログラムフォルダーのファイルを読み取り専用で使います。設定や登録したホテルは保存されません。");
// The first move from the program folder (%1) to the user folder (%2).
inline const QString moved_to_user_folder =
    QStringLiteral("プログラムフォルダー「%1」には書き込めないため、"
                   "設定と登録したホテルは利用者のフォルダー「%2」に移し、これからはそこに保存します。");
// Why a save is refused while the program runs on its folder's files read-only.
inline const QString read_only_folder_refusal =
    QStringLiteral("今回の起動ではフォルダーのファイルを読み取り専用で使っているため、書き込みません。");

// Why a file could not be read, as a phrase ("読み取りの権限がありません"); empty when it was read.
QString read_reason(const ReadReport& r);
// The same as a sentence ("ファイルを読み込めませんでした（…）。"); empty when it was read.
QString describe(const ReadReport& r);
// Why a save failed, as a sentence; empty when it was saved.
QString describe(const SaveReport& r);
// Why another user could change a path, naming it; empty when no one can.
QString describe(const PathReport& r);

} // namespace tomarina::shared_texts
