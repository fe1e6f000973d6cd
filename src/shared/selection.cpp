#include "shared/selection.h"

#include "data/directory_words.h"
#include "data/text_rules.h"
#include "shared/shared_texts.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>
#include <vector>

namespace tomarina {

namespace {

// Containment as the directory's search knows it: an empty field never holds anything, an empty key
// is held by every other field.
bool holds(QStringView field, QStringView key) {
    if (field.isEmpty()) return false;
    return key.isEmpty() || field.contains(key);
}

// Districts are compared by name with surrounding blanks removed. Each distinct name gets a number
// once; a directory hotel's name is the district table's own string, so its number is looked up by
// district record after the first time.
class DistrictIds {
  public:
    DistrictIds(const HotelTables& t, const SearchState& s)
        : t_(t), s_(s), by_record_(std::size_t(t.syousai_name.held(t.syousai_count)) + 1, -1) {
        for (int j = 1; j <= s.narrow_count; ++j) narrow_.insert(trimmed_view(s.narrow_syousai(j)));
        ids_.reserve(512);
    }
    int id_of(int i) {
        const QString& name = t_.hotel_syousai_name(i);
        const long k = t_.hotel_syousai(i);
        if (k >= 1 && std::size_t(k) < by_record_.size() &&
            name.constData() == t_.syousai_name(k).constData()) {
            int& id = by_record_[std::size_t(k)];
            if (id < 0) id = lookup(name);
            return id;
        }
        return lookup(name);
    }
    bool narrowed_in(int id) const { return s_.narrow_count == 0 || narrowed_[std::size_t(id)]; }

  private:
    int lookup(const QString& name) {
        const QStringView key = trimmed_view(name);
        auto it = ids_.find(key);
        if (it == ids_.end()) {
            it = ids_.insert(key, int(ids_.size()));
            narrowed_.push_back(narrow_.contains(key));
        }
        return *it;
    }
    const HotelTables& t_;
    const SearchState& s_;
    std::vector<int> by_record_;
    QHash<QStringView, int> ids_;
    QSet<QStringView> narrow_;
    std::vector<char> narrowed_;
};

// The scan shared by the six selections: primary(i) says whether hotel i meets the criterion.
template <typename Primary>
void scan(const HotelTables& t, SearchState& s, Integer max_kensuu, Primary primary) {
    int hits = 0;
    int districts = 0;
    DistrictIds ids(t, s);
    std::vector<char> seen;
    const int count = t.hotel_name.held(t.hotel_count);
    for (int i = 1; i <= count; ++i) {
        if (!primary(i)) continue;
        const int id = ids.id_of(i);
        if (ids.narrowed_in(id)) {
            ++hits;
            s.sel_hotel(hits) = Integer(i);
            if (hits == max_kensuu) break;
        }
        if (std::size_t(id) >= seen.size()) seen.resize(std::size_t(id) + 1, 0);
        if (!seen[std::size_t(id)]) {
            seen[std::size_t(id)] = 1;
            ++districts;
            s.sel_syousai(districts) = t.hotel_syousai_name(i);
            if (districts == s.sel_syousai.capacity) break;
        }
    }
    s.sel_count = Integer(hits);
    s.sel_syousai_count = Integer(districts);
}

// Record numbers whose name equals the key.
template <typename Table> std::vector<char> equal_names(const Table& names, int count, const QString& key) {
    std::vector<char> match(std::size_t(Table::capacity) + 1, 0);
    for (int k = 1; k <= count; ++k) match[std::size_t(k)] = names(k) == key;
    return match;
}

QString search_text(const SearchState& s) {
    return trim_wide(s.search_key);
}

} // namespace

QString airport_synonym(const QString& key) {
    using namespace directory_words;
    if (key == tokyo_haneda || key == tokyo_narita) return QString::fromUtf16(tokyo_haneda);
    if (key == osaka_itami || key == osaka_kansai) return QString::fromUtf16(osaka_itami);
    return key;
}

void select_by_prefecture(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    const auto match = equal_names(t.ken_name, t.ken_name.held(t.ken_count), search_text(s));
    scan(t, s, max_kensuu, [&](int i) {
        const long k = t.hotel_ken(i);
        return k >= 1 && k <= t.ken_count && match[std::size_t(k)];
    });
}

void select_by_airport(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    const auto match =
        equal_names(t.airport_name, t.airport_name.held(t.airport_count), airport_synonym(search_text(s)));
    scan(t, s, max_kensuu, [&](int i) {
        const long k = t.hotel_airport(i);
        return k >= 1 && k <= t.airport_count && match[std::size_t(k)];
    });
}

void select_by_hotel_name(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    const QString key = search_text(s);
    scan(t, s, max_kensuu, [&](int i) { return holds(t.hotel_name(i), key); });
}

void select_by_district(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    const QString key = search_text(s);
    scan(t, s, max_kensuu, [&](int i) { return holds(t.hotel_syousai_name(i), key); });
}

void select_by_station(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    const QString key = search_text(s);
    scan(t, s, max_kensuu, [&](int i) { return holds(t.hotel_access(i), key); });
}

void select_by_keyword(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    const QString key = search_text(s);
    // The prefecture and airport names are the same for many hotels: test each name once.
    std::vector<char> ken_holds(HotelTables::ken_capacity + 1, 0),
        airport_holds(HotelTables::airport_capacity + 1, 0);
    for (int k = 1; k <= t.ken_name.held(t.ken_count); ++k) ken_holds[k] = holds(t.ken_name(k), key);
    for (int k = 1; k <= t.airport_name.held(t.airport_count); ++k)
        airport_holds[k] = holds(t.airport_name(k), key);
    scan(t, s, max_kensuu, [&](int i) {
        const int h = i;
        const long ken = t.hotel_ken(h);
        const long airport = t.hotel_airport(h);
        if (ken >= 1 && ken <= t.ken_count && ken_holds[std::size_t(ken)]) return true;
        if (airport >= 1 && airport <= t.airport_count && airport_holds[std::size_t(airport)]) return true;
        if (holds(t.hotel_name(h), key) || holds(t.hotel_syousai_name(h), key) ||
            holds(t.hotel_access(h), key))
            return true;
        return holds(t.hotel_note_wide(h), key);
    });
}

void select_hotels(const HotelTables& t, SearchState& s, Integer max_kensuu) {
    switch (s.search_type) {
    case SearchType::prefecture:
        select_by_prefecture(t, s, max_kensuu);
        break;
    case SearchType::airport:
        select_by_airport(t, s, max_kensuu);
        break;
    case SearchType::hotel_name:
        select_by_hotel_name(t, s, max_kensuu);
        break;
    case SearchType::district:
        select_by_district(t, s, max_kensuu);
        break;
    case SearchType::station:
        select_by_station(t, s, max_kensuu);
        break;
    case SearchType::keyword:
        select_by_keyword(t, s, max_kensuu);
        break;
    default:
        s.sel_count = 0;
        s.sel_syousai_count = 0;
        break;
    }
}

QString search_key_of(const QString& entry) {
    return to_full_width(entry);
}

QString search_entry_error() {
    return shared_texts::search_entry_error;
}

std::optional<AcceptedEntry> accept_search_entry(const HotelTables& t, SearchType option,
                                                 const QString& typed) {
    // Typed text in the form the directory holds; only blanks around a name are ignored, full-width ones
    // are not.
    const QString entry = input_form(typed);
    const QString trimmed = trim(entry);
    auto accepted = [&](const QString& shown) { return AcceptedEntry{option, shown, search_key_of(shown)}; };
    switch (option) {
    case SearchType::prefecture:
        if (const int k = find_name(t.ken_name, t.ken_count, trimmed, &t.ken_alias))
            return accepted(t.ken_name(k));
        break;
    case SearchType::airport:
        if (find_name(t.airport_name, t.airport_count, trimmed)) return accepted(entry);
        break;
    case SearchType::hotel_name:
    case SearchType::district:
    case SearchType::station:
    case SearchType::keyword:
        if (!entry.isEmpty()) return accepted(entry);
        break;
    }
    return std::nullopt;
}

void store_narrowing(SearchState& s, const QStringList& chosen) {
    const int n = decltype(s.narrow_syousai)::held(chosen.size());
    for (int k = 1; k <= n; ++k) s.narrow_syousai(k) = chosen[k - 1];
    s.narrow_count = Integer(n);
}

} // namespace tomarina
