#pragma once

#include "shared/shared_texts.h"

#include <QString>
#include <array>

// What the search windows show and say, each text written once.
namespace tomarina::search_texts {

// The search conditions window: the entry, its picker button, the guidance line and the buttons.
inline const QString criteria_caption = QStringLiteral("ホテル検索条件");
inline const QString picker_button_caption = QStringLiteral("？");
inline const QString method_caption = QStringLiteral("検索方法");
inline const QString search_caption = QStringLiteral("検索開始");
inline const QString end_search_caption = QStringLiteral("検索終了");
// One option per criterion, in the order of SearchType (prefecture first), and what the guidance line
// asks for under each.
inline const std::array<QString, 6> option_captions = {
    QStringLiteral("都道府県名"), QStringLiteral("空港名"),
    QStringLiteral("ホテル名"),   QStringLiteral("地区名"),
    QStringLiteral("最寄り駅名"), QStringLiteral("ﾌﾘｰｷｰﾜｰﾄﾞ（部分一致検索します）"),
};
inline const std::array<QString, 6> option_prompts = {
    QStringLiteral("都道府県名を入力して下さい"), QStringLiteral("空港名を入力して下さい"),
    QStringLiteral("ホテル名を入力して下さい"),   QStringLiteral("地区名を入力して下さい"),
    QStringLiteral("最寄り駅名を入力して下さい"), QStringLiteral("ﾌﾘｰｷｰﾜｰﾄﾞを入力して下さい"),
};
// The user hotels that the full hotel table left out of the searches (%1 the capacity, %2 how many);
// the file keeps them.
inline const QString user_hotels_left_out =
    QStringLiteral("ホテルの数が上限の%1件に達したため、登録したホテルのうち%2件は検索の対象になりません。\n"
                   "これらのホテルはファイルに残っています。");
using shared_texts::caution_title;

// The guidance line of the search conditions, picker and region windows, for a screen reader.
inline const QString guidance_name = QStringLiteral("案内");

// The narrowing window: its two lists and the buttons that move districts between them.
inline const QString offered_caption = QStringLiteral("ホテル地区名");
inline const QString chosen_caption = QStringLiteral("選択地区名");
inline const QString choose_caption = QStringLiteral("選択>");
inline const QString choose_all_caption = QStringLiteral("全選択>>");
inline const QString unchoose_caption = QStringLiteral("<取消");
inline const QString unchoose_all_caption = QStringLiteral("<<全取消");
inline const QString ok_caption = QStringLiteral("了解");
inline const QString cancel_caption = QStringLiteral("ｷｬﾝｾﾙ");
// What a screen reader is told of a move: more than three districts by their number (%1).
inline const QString districts_counted = QStringLiteral("%1 件の地区");
inline const QString district_separator = QStringLiteral("、");
inline const QString moved_to_chosen = QStringLiteral("を選択済みに移しました");
inline const QString moved_to_offered = QStringLiteral("をホテル地区名に戻しました");

// The picker window: its buttons, and the texts that follow its mode (prefectures or airports).
inline const QString confirm_caption = QStringLiteral("選択確定");
inline const QString undo_caption = QStringLiteral("取消");
inline const QString cancel_and_close_caption = QStringLiteral("取消終了");
inline const QString prefecture_frame = QStringLiteral("都道府県名の選択");
// The heading over the list names the criterion as its option does.
inline const QString& prefecture_heading = option_captions[0];
inline const QString prefecture_guidance = QStringLiteral("都道府県名を選択して下さい");
inline const QString airport_frame = QStringLiteral("空港の選択");
inline const QString& airport_heading = option_captions[1];
inline const QString airport_guidance =
    QStringLiteral("空港を選択して下さい。東京／羽田と東京／成田、大阪／伊丹と大阪／関西は同一です");
// After a picker row's hotel count.
inline const QString hotels_unit = QStringLiteral("件");

// The region window.
inline const QString region_caption = QStringLiteral("地域指定で予約");
inline const QString region_guidance = QStringLiteral("地域を選択してください");
inline const QString reserve_caption = QStringLiteral("検索＆予約");
inline const QString end_caption = QStringLiteral("終了");

} // namespace tomarina::search_texts
