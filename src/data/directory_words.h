#pragma once

// The directory's own words: names the program knows without reading them from tomarina.dat. They are
// data, compared with and shown beside the directory's names, so they stay exactly as the directory
// spells them.

#include <QString>

#include <array>

namespace tomarina::directory_words {

// The captions of the ten areas, 0 being the whole country, in the directory's area order.
inline constexpr std::array<const char16_t*, 10> area_titles = {
    u"全国エリア", u"北海道エリア", u"東北エリア", u"北陸・中部エリア", u"東京エリア",
    u"大阪エリア", u"中国エリア",   u"四国エリア", u"九州エリア",       u"沖縄エリア"};
// The first entry of the area list, before the areas the prefectures name.
inline const QString whole_country = QStringLiteral("全国");

// Airports of one city searched as one: each pair's second name selects the hotels of its first.
inline constexpr char16_t tokyo_haneda[] = u"東京／羽田";
inline constexpr char16_t tokyo_narita[] = u"東京／成田";
inline constexpr char16_t osaka_itami[] = u"大阪／伊丹";
inline constexpr char16_t osaka_kansai[] = u"大阪／関西";

// What a prefecture or airport box offers while its history is empty.
inline const QString default_prefecture = QStringLiteral("福岡");

} // namespace tomarina::directory_words
