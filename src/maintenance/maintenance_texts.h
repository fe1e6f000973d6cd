#pragma once

#include "results/results_texts.h"
#include "shared/shared_texts.h"

#include <QString>
#include <algorithm>
#include <array>

// Every text the maintenance list and the hotel edit window show or say, written once.
namespace tomarina::maintenance_texts {

// Message box titles of both windows.
using shared_texts::confirm_title;
using shared_texts::error_title;

// The maintenance list: its grid, buttons and messages.
inline const QString hotels_grid_name = QStringLiteral("登録ホテル一覧");
inline const QString add_caption = QStringLiteral("追加");
inline const QString save_caption = QStringLiteral("登録終了");
inline const QString modify_caption = QStringLiteral("修正");
inline const QString delete_caption = QStringLiteral("削除");
// 取消終了 of the list and of the edit window.
inline const QString cancel_caption = QStringLiteral("取消終了");
inline const QString delete_question = QStringLiteral("本当に削除しますよ！！");
// %1 the user file, %2 why it could not be read.
inline const QString reread_failed = QStringLiteral(
    "「%1」を読み直せませんでした。\n%2\n取り消した変更は保存しません。ファイルはそのままです。");
// %1 how many hotels the user tables hold; on 追加 in the list, and refused by the edit window.
inline const QString tables_full =
    QStringLiteral("登録できるホテルは%1件までです。ホテルを削除してから追加して下さい");

// The list's headings; the column the list is ordered by is marked.
inline const std::array<QString, 9> list_headings = [] {
    std::array<QString, 9> h{QStringLiteral("都道府県"), QStringLiteral("空港")};
    std::copy(shared_texts::hotel_column_headings.begin(), shared_texts::hotel_column_headings.end(),
              h.begin() + 2);
    return h;
}();
inline const QString& heading_mark = shared_texts::ordering_mark;

// The hotel edit window: its frame, buttons and mode.
inline const QString hotel_frame_title = QStringLiteral("ホテル情報");
inline const QString picker_caption = QStringLiteral("?");
inline const QString prefecture_list_name = QStringLiteral("都道府県名の一覧");
inline const QString airport_list_name = QStringLiteral("空港名の一覧");
inline const QString message_caption = QStringLiteral("メッセージ：");
inline const QString message_area_name = QStringLiteral("メッセージ");
inline const QString update_caption = QStringLiteral("更新");
inline const QString add_update_caption = QStringLiteral("追加更新");
inline const QString modify_mode = QStringLiteral("修正モード");
inline const QString add_mode = QStringLiteral("追加モード");
inline const QString add_question = QStringLiteral("追加しますよ！！");
inline const QString update_question = QStringLiteral("更新しますよ！！");

// The nine fields, [1]..[9] in the order of the user file; [0] is unused. Their labels, what the
// messages and screen readers call them, and the prompt the message area shows on focus.
inline const std::array<QString, 10> field_labels = {
    QString(),
    QStringLiteral("都道府県名："),
    QStringLiteral("空港名　　："),
    QStringLiteral("地区名　　："),
    results_texts::name_caption,
    results_texts::phone_caption,
    results_texts::rooms_caption,
    results_texts::access_caption,
    results_texts::price_caption,
    results_texts::note_caption,
};
inline const std::array<QString, 10> field_names = {
    QString(),
    QStringLiteral("都道府県名"),
    QStringLiteral("空港名"),
    QStringLiteral("地区名"),
    QStringLiteral("ホテル名"),
    QStringLiteral("電話番号"),
    QStringLiteral("部屋数"),
    QStringLiteral("交通"),
    QStringLiteral("料金"),
    QStringLiteral("備考"),
};
inline const std::array<QString, 10> field_requests = {
    QString(),
    QStringLiteral("都道府県を選択して下さい"),
    QStringLiteral("空港名を選択して下さい"),
    QStringLiteral("地区名を入力して下さい（省略可）"),
    QStringLiteral("ホテル名を入力して下さい"),
    QStringLiteral("電話番号を入力して下さい"),
    QStringLiteral("部屋数を入力して下さい"),
    QStringLiteral("交通を入力して下さい（省略可）"),
    QStringLiteral("料金を入力して下さい"),
    QStringLiteral("備考を入力して下さい（省略可）"),
};
inline const std::array<QString, 10> field_examples = {
    QString(),
    QStringLiteral("入力例：東京"),
    QStringLiteral("入力例：東京／羽田"),
    QStringLiteral("入力例：京橋"),
    QStringLiteral("入力例：トマリナホテル"),
    QStringLiteral("入力例：012-345-6789"),
    QStringLiteral("入力例：123"),
    QStringLiteral("入力例：京橋駅徒歩１０分"),
    QStringLiteral("入力例：\\10,000"),
    QStringLiteral("入力例：○"),
};

// The refusals of the edit window's checks, in the message area.
inline const QString prefecture_missing = QStringLiteral("都道府県名は省略できません");
inline const QString prefecture_unknown = QStringLiteral("都道府県名の入力誤りです");
// The airport on Enter; 更新 and 追加更新 word the unknown airport (and 追加更新 both) their own way.
inline const QString airport_missing = QStringLiteral("空港名は省略できません");
inline const QString airport_unknown = QStringLiteral("空港名の入力誤りです");
inline const QString airport_unknown_on_update = QStringLiteral("空港名の入力です");
inline const QString hotel_airport_missing = QStringLiteral("ホテル空港名は省略できません");
inline const QString hotel_airport_unknown = QStringLiteral("ホテル空港名の入力です");
inline const QString hotel_name_missing = QStringLiteral("ホテル名は省略できません");
inline const QString phone_missing = QStringLiteral("電話番号は省略できません");
inline const QString rooms_not_digits = QStringLiteral("部屋数の入力に誤り(数字のみ可)");
inline const QString rate_missing = QStringLiteral("料金は省略できません");
// %1 the field's name.
inline const QString unstorable_characters = QStringLiteral("%1に使用できない文字が含まれています");

} // namespace tomarina::maintenance_texts
