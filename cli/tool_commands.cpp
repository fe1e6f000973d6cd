#include "cli/tool_commands.h"

#include "cli/db_builder.h"
#include "cli/tool_output.h"
#include "data/database.h"
#include "data/save_file.h"
#include "data/user_file.h"
#include "shared/ordering.h"
#include "shared/program_folder.h"
#include "shared/selection.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>

namespace tomarina {

namespace {

void print_json(const QJsonObject& o) {
    print_out(QJsonDocument(o).toJson(QJsonDocument::Indented));
}

template <typename Table> QJsonArray slot_array(const Table& table, int last) {
    QJsonArray a;
    for (int i = 0; i <= last; ++i) {
        if constexpr (std::is_same_v<std::decay_t<decltype(table(0))>, QString>)
            a.append(table(i));
        else
            a.append(qint64(table(i)));
    }
    return a;
}

int clamp_count(int count, int capacity) {
    return std::clamp(count, 0, capacity);
}

} // namespace

QJsonObject dump_tables(const HotelTables& t) {
    QJsonObject o;
    const int ken = clamp_count(t.ken_count, HotelTables::ken_capacity);
    const int airport = clamp_count(t.airport_count, HotelTables::airport_capacity);
    const int syousai = clamp_count(t.syousai_count, HotelTables::syousai_capacity);
    const int hotel = clamp_count(t.hotel_count, HotelTables::hotel_capacity);
    const int rsv = clamp_count(t.rsv_count, HotelTables::rsv_capacity);
    o[u"blk_count"_qs] = t.blk_count;
    o[u"ctl_tbl"_qs] = slot_array(t.ctl_tbl, 24);
    o[u"db_date"_qs] = t.db_date;
    o[u"ken_count"_qs] = t.ken_count;
    o[u"ken_area"_qs] = slot_array(t.ken_area, ken);
    o[u"ken_name"_qs] = slot_array(t.ken_name, ken);
    o[u"ken_alias"_qs] = slot_array(t.ken_alias, ken);
    o[u"ken_hotel_cnt"_qs] = slot_array(t.ken_hotel_cnt, HotelTables::ken_capacity);
    o[u"area_list"_qs] = slot_array(t.area_list, t.area_last());
    o[u"area_title"_qs] = slot_array(t.area_title, 9);
    o[u"airport_count"_qs] = t.airport_count;
    o[u"airport_name"_qs] = slot_array(t.airport_name, airport);
    o[u"airport_area"_qs] = slot_array(t.airport_area, airport);
    o[u"airport_hotel_cnt"_qs] = slot_array(t.airport_hotel_cnt, HotelTables::airport_capacity);
    o[u"syousai_count"_qs] = t.syousai_count;
    o[u"syousai_name"_qs] = slot_array(t.syousai_name, syousai);
    o[u"hotel_count"_qs] = t.hotel_count;
    o[u"hotel_count_db"_qs] = t.hotel_count_db;
    o[u"hotel_info_no"_qs] = slot_array(t.hotel_info_no, hotel);
    o[u"hotel_ken"_qs] = slot_array(t.hotel_ken, hotel);
    o[u"hotel_airport"_qs] = slot_array(t.hotel_airport, hotel);
    o[u"hotel_syousai"_qs] = slot_array(t.hotel_syousai, hotel);
    o[u"hotel_syousai_name"_qs] = slot_array(t.hotel_syousai_name, hotel);
    o[u"hotel_name"_qs] = slot_array(t.hotel_name, hotel);
    o[u"hotel_tel"_qs] = slot_array(t.hotel_tel, hotel);
    o[u"hotel_rooms"_qs] = slot_array(t.hotel_rooms, hotel);
    o[u"hotel_access"_qs] = slot_array(t.hotel_access, hotel);
    o[u"hotel_price"_qs] = slot_array(t.hotel_price, hotel);
    o[u"hotel_price_num"_qs] = slot_array(t.hotel_price_num, hotel);
    o[u"hotel_note"_qs] = slot_array(t.hotel_note, hotel);
    o[u"hotel_address"_qs] = slot_array(t.hotel_address, hotel);
    o[u"hotel_url"_qs] = slot_array(t.hotel_url, hotel);
    o[u"hotel_best"_qs] = slot_array(t.hotel_best, hotel);
    o[u"rsv_count"_qs] = t.rsv_count;
    o[u"rsv_area"_qs] = slot_array(t.rsv_area, rsv);
    o[u"rsv_text"_qs] = slot_array(t.rsv_text, rsv);
    o[u"rsv_link"_qs] = slot_array(t.rsv_link, rsv);
    return o;
}

int tool_build(const QString& source_dir, const QString& out_file) {
    DbSource src;
    QString error;
    if (!read_sources(source_dir, src, &error)) {
        tell(error);
        return 1;
    }
    if (!save_file(out_file, build_database(src))) {
        tell_file(out_file, system_reason(last_save_failure()));
        return 1;
    }
    return 0;
}

int tool_dump(const QString& file_name) {
    DatabaseFile file;
    if (!file.open(file_name)) {
        tell_file(file_name, unreadable_reason(file_name));
        return 1;
    }
    HotelTables t;
    Loader(t, file.bytes()).load_all();
    print_json(dump_tables(t));
    return 0;
}

int tool_generate(const GenerateArgs& g) {
    DbSource src;
    QString error;
    if (!read_sources(g.base, src, &error)) {
        tell(error);
        return 1;
    }
    generate_hotels(src, g.hotels, g.seed);
    if (!write_sources(g.out_dir, src, &error)) {
        tell(error);
        return 1;
    }
    return 0;
}

} // namespace tomarina

namespace tomarina {

namespace {

// The directory of a program folder with the user's hotels appended, as the search window sees it.
bool load_folder(const QString& dir, AppState& st) {
    st.app_path = dir;
    if (!open_database(st)) {
        const QString dat = st.full_path(st.dat_file);
        tell_file(dat, unreadable_reason(dat));
        return false;
    }
    load_database(st, {}, false);
    return true;
}

} // namespace

int tool_search(const SearchArgs& a) {
    auto st = std::make_unique<AppState>();
    if (!load_folder(a.dir, *st)) return 1;
    st->directory.add_user_hotels();

    const auto accepted = accept_search_entry(st->db, SearchType(a.type), a.key);
    if (!accepted) {
        tell(search_entry_error()); // the search window's own words
        return 2;
    }
    HotelSearch& search = st->search;
    search.run({accepted->search_type, accepted->search_key, a.narrow}, a.limit, {}, a.order);
    const SearchState& s = search.state();
    const ResultRows& rows = search.rows();
    QJsonObject o;
    o[u"search_key"_qs] = s.search_key;
    o[u"sel_count"_qs] = s.sel_count;
    QJsonArray hits, districts;
    for (int k = 1; k <= rows.count(); ++k) hits.append(rows.hotel(k));
    for (int k = 1; k <= s.sel_syousai_count; ++k) districts.append(s.sel_syousai(k));
    o[u"sel_hotel"_qs] = hits;
    o[u"sel_syousai_count"_qs] = s.sel_syousai_count;
    o[u"sel_syousai"_qs] = districts;
    o[u"hotel_count"_qs] = st->db.hotel_count;
    if (a.names) {
        QJsonArray names;
        for (int k = 1; k <= rows.count(); ++k) names.append(st->db.hotel_name(rows.hotel(k)));
        o[u"sel_hotel_name"_qs] = names;
    }
    print_json(o);
    return 0;
}

int tool_order_user(const QString& dir, const QString& order) {
    auto st = std::make_unique<AppState>();
    if (!load_folder(dir, *st)) return 1;
    st->directory.list_in_file_order();
    st->directory.order_by(order);
    const OrderState& o = st->directory.order();
    QJsonObject out;
    out[u"user_count"_qs] = st->user.user_count;
    QJsonArray list;
    for (int k = 1; k <= st->user.user_count; ++k) list.append(o.user_list(k));
    out[u"user_list"_qs] = list;
    print_json(out);
    return 0;
}

} // namespace tomarina
