#pragma once

#include "shared/shared_texts.h"

#include <QString>
#include <array>

// What the results and detail windows show and say.
namespace tomarina::results_texts {

// Both windows: the link buttons, the close button and the message shown when a search finds nothing.
inline const QString information_caption = QStringLiteral("ホテル情報");
inline const QString reserve_caption = QStringLiteral("ホテル予約");
inline const QString close_caption = QStringLiteral("終了");
using shared_texts::error_title;
// Said once the pages of a press are handed to the browser, before the browser takes the focus.
inline const QString pages_handed_over = QStringLiteral("ページをブラウザに渡しました");

// Results window: the grid's headings, and the mark before the one the rows are ordered by.
inline const std::array<QString, 7>& column_headings = shared_texts::hotel_column_headings;
using shared_texts::ordering_mark;
// Results window: what a screen reader is told after a re-order (%1 the marked heading).
inline const QString default_order_announcement = QStringLiteral("標準の順に並べ替えました");
inline const QString column_order_announcement = QStringLiteral("%1 の順に並べ替えました");
// Results window: the heading line for each kind of search (%1 the key), and the count after it.
inline const QString prefecture_heading = QStringLiteral("都道府県別検索：%1 地区");
inline const QString airport_heading = QStringLiteral("空港別検索：%1 空港");
inline const QString hotel_name_heading = QStringLiteral("ホテル名検索：%1");
inline const QString district_heading = QStringLiteral("地区名検索：%1");
inline const QString station_heading = QStringLiteral("最寄り駅名検索：%1");
inline const QString keyword_heading = QStringLiteral("フリーキーワード検索：%1");
inline const QString hits_count = QStringLiteral(" (%1件)");
// Results window: the heading line's font.
inline const QString& heading_font_family = shared_texts::proportional_font_family;
// Results window: the yellow sample and what it means; a highlighted row says the words beside its colour.
inline const QString sample_name = QStringLiteral("黄色の見本");
inline const QString online_words = QStringLiteral("インターネット情報検索、予約可");
inline const QString online_explanation = QStringLiteral("のホテルはインターネット情報検索、予約が行えます");
// The explanation begins with the sample's colour: one sentence read alone.
inline const QString online_sentence = QStringLiteral("黄色") + online_explanation;
// Results window: the notice under the grid.
inline const QString remarks_notice =
    QStringLiteral("備考(評価)は作者の個人的な評価です。\r\n公的機関の評価ではありません。ご留意下さい。");
inline const QString narrowing_caption = QStringLiteral("地区の絞り込み");
// Results window: the progress window's caption while searching, and what it says when nothing is found.
inline const QString searching_caption = QStringLiteral("ホテルの検索");
inline const QString no_hits_message = QStringLiteral("ホテルデータなし");

// Detail window: the frame, the labels of the boxes and the three link boxes.
inline const QString detail_frame_title = information_caption;
inline const QString address_caption = QStringLiteral("住所　　　：");
inline const QString name_caption = QStringLiteral("ホテル名　：");
inline const QString phone_caption = QStringLiteral("電話番号　：");
inline const QString rooms_caption = QStringLiteral("部屋数　　：");
inline const QString access_caption = QStringLiteral("交通　　　：");
inline const QString price_caption = QStringLiteral("料金　　　：");
inline const QString note_caption = QStringLiteral("備考　　　：");
inline const QString first_service_caption = QStringLiteral("旅の窓口予約可");
inline const QString second_service_caption = QStringLiteral("ベストリザーブ予約可");
inline const QString home_page_caption = QStringLiteral("ホームページ");

} // namespace tomarina::results_texts
