#include "data/user_file.h"

#include "data/regular_file.h"
#include "data/save_file.h"
#include "data/text_rules.h"

#include <QFile>

namespace tomarina {

QStringList user_line_fields(QStringView line) {
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (fields.size() < 10) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            // Anything between the closing quote and the next comma is ignored.
            while (i < n && line[i] != u',') ++i;
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != u',') ++i;
            field = line.mid(start, i - start).toString();
        }
        fields << field;
        if (i >= n) break;
        ++i; // the comma
        if (i >= n) {
            if (fields.size() < 10) fields << QString();
            break;
        }
    }
    return fields;
}

QString user_line(const QStringList& fields) {
    QString out;
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k) out += u',';
        QString f = fields[k];
        // A quote inside a field is doubled so that it reads back whole.
        f.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        out += u'"' + f + u'"';
    }
    return out;
}

namespace {

template <typename Table> Long find_name(const Table& names, int count, const QString& name, Long none) {
    for (int k = 1; k <= count; ++k)
        if (names(k) == name) return k;
    return none;
}

} // namespace

QStringList user_record(const UserTables& u, int i) {
    return {u.user_ken_name(i), u.user_airport_name(i), u.user_syousai_name(i), u.user_name(i), u.user_tel(i),
            u.user_rooms(i),    u.user_access(i),       u.user_price(i),        u.user_note(i)};
}

void set_user_record(UserTables& u, int i, const QStringList& f) {
    auto field = [&f](int k) { return k < f.size() ? f[k] : QString(); };
    u.user_ken_name(i) = field(0);
    u.user_airport_name(i) = field(1);
    u.user_syousai_name(i) = field(2);
    u.user_name(i) = field(3);
    u.user_tel(i) = field(4);
    u.user_rooms(i) = field(5);
    u.user_access(i) = field(6);
    u.user_price(i) = field(7);
    u.user_note(i) = field(8);
}

void derive_user_hotel(UserTables& u, int i, const HotelTables& t) {
    u.user_ken(i) = find_name(t.ken_name, t.ken_name.held(t.ken_count), u.user_ken_name(i), 99);
    u.user_airport(i) =
        find_name(t.airport_name, t.airport_name.held(t.airport_count), u.user_airport_name(i), 99);
    u.user_syousai(i) =
        find_name(t.syousai_name, t.syousai_name.held(t.syousai_count), u.user_syousai_name(i), 999);
    u.user_price_num(i) = user_price_number(u.user_price(i));
}

void get_hotel_user(QIODevice& dev, UserTables& u, const HotelTables& t, const QString& tmp_path) {
    const QString text = decode_cp932_file(dev.readAll());
    int count = 0;
    u.user_extra.clear();
    QStringView last_line;
    bool any_line = false;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        // Only an empty line is no record: a line of blanks holds a hotel with blank fields.
        if (line.isEmpty()) continue;
        last_line = line;
        any_line = true;
        QStringList f = user_line_fields(line);
        while (f.size() < 9) f << QString();
        f = f.mid(0, 9);
        if (count >= UserTables::user_capacity) {
            u.user_extra << f;
            continue;
        }
        set_user_record(u, ++count, f);
    }
    u.user_count = Integer(count);
    for (int i = 1; i <= count; ++i) derive_user_hotel(u, i, t);
    // The scratch copy of the last line; what was read does not depend on it.
    if (any_line && !tmp_path.isEmpty()) save_file(tmp_path, encode_cp932(last_line) + "\r\n");
}

void read_user_file(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path) {
    QFile file;
    if (!open_regular_file(file, path) || file.size() == 0) return;
    get_hotel_user(file, u, t, tmp_path);
}

QByteArray user_file_bytes(const UserTables& u) {
    QString text;
    for (int i = 1; i <= u.user_name.held(u.user_count); ++i)
        text += user_line(user_record(u, i)) + QStringLiteral("\r\n");
    for (const QStringList& f : u.user_extra) text += user_line(f) + QStringLiteral("\r\n");
    return encode_cp932(text);
}

bool save_hotel_user(const QString& path, const UserTables& u, QString* error) {
    return save_file(path, user_file_bytes(u), error);
}

void copy_user_hotel(const UserTables& u, HotelTables& t) {
    const int db = t.hotel_name.held(t.hotel_count_db);
    const int fit = std::min<int>(u.user_name.held(u.user_count), HotelTables::hotel_capacity - db);
    for (int i = 1; i <= fit; ++i) {
        const std::size_t p = std::size_t(db + i);
        t.hotel_info_no(p) = 0;
        t.hotel_ken(p) = u.user_ken(i);
        t.hotel_airport(p) = u.user_airport(i);
        t.hotel_syousai_name(p) = u.user_syousai_name(i);
        t.hotel_syousai(p) = u.user_syousai(i);
        t.hotel_name(p) = u.user_name(i);
        t.hotel_tel(p) = u.user_tel(i);
        t.hotel_rooms(p) = u.user_rooms(i);
        t.hotel_access(p) = u.user_access(i);
        t.hotel_price(p) = u.user_price(i);
        t.hotel_price_num(p) = u.user_price_num(i);
        t.set_note(p, u.user_note(i));
        t.hotel_address(p).clear();
        t.hotel_url(p).clear();
        t.hotel_best(p).clear();
    }
    t.hotel_count = Integer(db + fit);
}

} // namespace tomarina
