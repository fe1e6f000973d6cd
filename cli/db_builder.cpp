#include "cli/db_builder.h"

#include "cli/tool_output.h"
#include "data/save_file.h"
#include "data/text_rules.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <bit>
#include <cerrno>
#include <cstring>
#include <random>

namespace tomarina {

void ByteWriter::integer(std::int32_t v) {
    const auto u = std::uint32_t(v);
    const char bytes[4] = {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char(u >> 24)};
    b_.append(bytes, 4);
}

void ByteWriter::number(float v) {
    integer(std::bit_cast<std::int32_t>(v));
}

void ByteWriter::text(const QString& s) {
    text_bytes(encode_cp932(s));
}

void ByteWriter::text_bytes(const QByteArray& bytes, int type) {
    const int length = int(bytes.size());
    const char head[4] = {char(type & 0xFF), char((type >> 8) & 0xFF), char(length & 0xFF),
                          char((length >> 8) & 0xFF)};
    b_.append(head, 4);
    b_.append(bytes);
}

void ByteWriter::digits2(int v) {
    b_.append(QByteArray::number(v).rightJustified(2, '0').left(2));
}

int ByteWriter::start_block() {
    const qsizetype rest = b_.size() % 1024;
    if (rest != 0) b_.append(QByteArray(1024 - rest, '\0'));
    return block();
}

std::int32_t hotel_code_a(std::int32_t info_no) {
    return info_no * 3000;
}
std::int32_t hotel_code_b(int ken, int airport, int syousai) {
    return (ken * 100 + airport) * 3000 + syousai;
}

QByteArray build_database(const DbSource& src) {
    ByteWriter w;
    std::int32_t ctl[25] = {};
    ctl[1] = w.start_block();
    w.integer(std::int32_t(src.prefectures.size()));
    for (const auto& p : src.prefectures)
        for (const QString& t : p) w.text(t);

    ctl[2] = w.start_block();
    w.integer(std::int32_t(src.regions.size()));
    for (const auto& r : src.regions)
        for (const QString& t : r) w.text(t);

    ctl[3] = w.start_block();
    w.integer(std::int32_t(src.airports.size()));
    for (const auto& [name, area] : src.airports) {
        w.text(name);
        w.digits2(area);
    }

    ctl[4] = w.start_block();
    w.integer(std::int32_t(src.districts.size()));
    for (const QString& d : src.districts) w.text(d);

    ctl[11] = w.start_block();
    w.integer(std::int32_t(src.hotels.size()));
    for (const auto& h : src.hotels) {
        w.integer(hotel_code_a(h.info_no));
        w.integer(hotel_code_b(h.ken, h.airport, h.syousai));
    }

    ctl[12] = w.start_block();
    for (qsizetype i = 0; i < src.hotels.size(); ++i) {
        w.number(float(i + 1));
        w.text(src.hotels[i].name);
    }

    auto marked = [&](int section, auto field) {
        ctl[section] = w.start_block();
        for (qsizetype i = 0; i < src.hotels.size(); ++i) {
            const QString t = field(src.hotels[i]);
            if (t.isEmpty()) continue;
            w.number(float(i + 1));
            w.text(t);
        }
        w.end_marker();
    };
    using H = DbSource::Hotel;
    marked(13, [](const H& h) { return h.tel; });
    marked(14, [](const H& h) { return h.rooms; });
    marked(15, [](const H& h) { return h.access; });
    marked(16, [](const H& h) { return h.price; });
    marked(17, [](const H& h) {
        return h.note.isEmpty() && h.url.isEmpty() ? QString() : h.note + QStringLiteral("||") + h.url;
    });
    marked(18, [](const H& h) { return h.address; });

    ctl[19] = w.start_block();
    w.integer(std::int32_t(src.reservations.size()));
    for (const auto& r : src.reservations)
        for (const QString& t : r) w.text(t);

    marked(20, [](const H& h) { return h.best; });

    ctl[23] = src.date;
    w.start_block();
    for (int n = 1; n <= 24; ++n) w.integer(ctl[n]);
    w.raw(QByteArray(1024 - 96, '\0'));
    return w.bytes();
}

QList<QStringList> parse_csv(const QString& text) {
    QList<QStringList> rows;
    for (qsizetype pos = 0; pos < text.size();) {
        // An empty line holds no row.
        if (text[pos] == u'\r' || text[pos] == u'\n')
            ++pos;
        else
            rows << read_fields(text, pos, {.skip_blanks = false});
    }
    return rows;
}

QString csv_line(const QStringList& fields) {
    QStringList out;
    for (QString f : fields) {
        if (f.contains(u',') || f.contains(u'"') || f.contains(u'\n') || f.startsWith(u' ')) {
            f.replace(u"\""_qs, u"\"\""_qs);
            f = u'"' + f + u'"';
        }
        out << f;
    }
    return out.join(u',') + u'\n';
}

namespace {

// An optional file may be missing, but one that is there and cannot be read is an error like any other.
bool read_rows(const QString& path, QList<QStringList>& rows, QString* error, bool optional = false) {
    if (optional && !QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return true;
    QFile f(path);
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly) ||
        (bytes = f.readAll(), f.error() != QFileDevice::NoError)) {
        if (error) *error = path + QStringLiteral(": ") + unreadable_reason(path);
        return false;
    }
    rows = parse_csv(QString::fromUtf8(bytes));
    if (!rows.isEmpty()) rows.removeFirst(); // header
    return true;
}

QString col(const QStringList& row, int k) {
    return k < row.size() ? row[k] : QString();
}
int col_int(const QStringList& row, int k) {
    return col(row, k).trimmed().toInt();
}

bool write_checked(const QString& path, const QByteArray& bytes, QString* error) {
    if (save_file(path, bytes)) return true;
    if (error) *error = path + QStringLiteral(": ") + system_reason(last_save_failure());
    return false;
}

bool write_rows(const QString& path, const QStringList& header, const QList<QStringList>& rows,
                QString* error) {
    QString text = csv_line(header);
    for (const auto& r : rows) text += csv_line(r);
    return write_checked(path, text.toUtf8(), error);
}

} // namespace

bool read_sources(const QString& dir, DbSource& src, QString* error) {
    const QDir d(dir);
    QList<QStringList> rows;
    if (!read_rows(d.filePath(QStringLiteral("prefectures.csv")), rows, error)) return false;
    for (const auto& r : rows) {
        src.prefectures.append({col(r, 0), col(r, 1), col(r, 2)});
        src.ken_airport.append(col_int(r, 3));
    }
    rows.clear();
    if (!read_rows(d.filePath(QStringLiteral("regions.csv")), rows, error, true)) return false;
    for (const auto& r : rows) src.regions.append({col(r, 0), col(r, 1), col(r, 2), col(r, 3)});
    rows.clear();
    if (!read_rows(d.filePath(QStringLiteral("airports.csv")), rows, error)) return false;
    for (const auto& r : rows) src.airports.append({col(r, 0), col_int(r, 1)});
    rows.clear();
    if (!read_rows(d.filePath(QStringLiteral("districts.csv")), rows, error)) return false;
    for (const auto& r : rows) {
        src.districts << col(r, 0);
        src.district_ken << col_int(r, 1);
    }
    rows.clear();
    if (!read_rows(d.filePath(QStringLiteral("hotels.csv")), rows, error, true)) return false;
    for (const auto& r : rows) {
        DbSource::Hotel h;
        h.info_no = col_int(r, 0);
        h.ken = col_int(r, 1);
        h.airport = col_int(r, 2);
        h.syousai = col_int(r, 3);
        h.name = col(r, 4);
        h.tel = col(r, 5);
        h.rooms = col(r, 6);
        h.access = col(r, 7);
        h.price = col(r, 8);
        h.note = col(r, 9);
        h.url = col(r, 10);
        h.address = col(r, 11);
        h.best = col(r, 12);
        src.hotels << h;
    }
    rows.clear();
    if (!read_rows(d.filePath(QStringLiteral("reservations.csv")), rows, error, true)) return false;
    for (const auto& r : rows) src.reservations.append({col(r, 0), col(r, 1), col(r, 2)});

    QFile date(d.filePath(QStringLiteral("date.txt")));
    if (date.open(QIODevice::ReadOnly)) {
        const QDate day =
            QDate::fromString(QString::fromUtf8(date.readAll()).trimmed(), QStringLiteral("yyyy/MM/dd"));
        if (!day.isValid()) {
            if (error) *error = date.fileName() + QStringLiteral(": expected a date as yyyy/mm/dd");
            return false;
        }
        src.date = std::int32_t(QDate(1899, 12, 30).daysTo(day));
    }
    return true;
}

bool write_sources(const QString& dir, const DbSource& src, QString* error) {
    errno = 0;
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = dir + QStringLiteral(": ") +
                     (errno ? system_reason(errno) : QStringLiteral("cannot make the folder"));
        return false;
    }
    const QDir d(dir);
    QList<QStringList> rows;
    for (qsizetype i = 0; i < src.prefectures.size(); ++i) {
        const auto& p = src.prefectures[i];
        rows.append({p[0], p[1], p[2], QString::number(src.ken_airport.value(i))});
    }
    if (!write_rows(d.filePath(QStringLiteral("prefectures.csv")), {"area", "name", "alias", "airport"}, rows,
                    error))
        return false;
    rows.clear();
    for (const auto& r : src.regions) rows.append({r[0], r[1], r[2], r[3]});
    if (!write_rows(d.filePath(QStringLiteral("regions.csv")), {"region", "text2", "text3", "text4"}, rows,
                    error))
        return false;
    rows.clear();
    for (const auto& [name, area] : src.airports) rows.append({name, QString::number(area)});
    if (!write_rows(d.filePath(QStringLiteral("airports.csv")), {"name", "area"}, rows, error)) return false;
    rows.clear();
    for (qsizetype i = 0; i < src.districts.size(); ++i)
        rows.append({src.districts[i], QString::number(src.district_ken.value(i))});
    if (!write_rows(d.filePath(QStringLiteral("districts.csv")), {"name", "prefecture"}, rows, error))
        return false;
    rows.clear();
    for (const auto& h : src.hotels)
        rows.append({QString::number(h.info_no), QString::number(h.ken), QString::number(h.airport),
                     QString::number(h.syousai), h.name, h.tel, h.rooms, h.access, h.price, h.note, h.url,
                     h.address, h.best});
    if (!write_rows(d.filePath(QStringLiteral("hotels.csv")),
                    {"info_no", "prefecture", "airport", "district", "name", "tel", "rooms", "access",
                     "price", "note", "url", "address", "best"},
                    rows, error))
        return false;
    rows.clear();
    for (const auto& r : src.reservations) rows.append({r[0], r[1], r[2]});
    if (!write_rows(d.filePath(QStringLiteral("reservations.csv")), {"area", "text", "link"}, rows, error))
        return false;
    return write_checked(
        d.filePath(QStringLiteral("date.txt")),
        QDate(1899, 12, 30).addDays(src.date).toString(QStringLiteral("yyyy/MM/dd")).toUtf8() + '\n', error);
}

void generate_hotels(DbSource& src, int n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int count) { return int(rng() % std::uint32_t(std::max(count, 1))); };
    auto chance = [&rng](int percent) { return int(rng() % 100) < percent; };
    auto wide = [](int v) { return to_full_width(QString::number(v)); };

    static const char16_t* const name_forms[] = {
        u"ホテル%1",           u"%1ビジネスホテル",     u"%1グランドホテル",
        u"ホテルサンライト%1", u"%1ステーションホテル", u"%1シティホテル",
        u"ホテル%1イン",       u"%1セントラルホテル",   u"ＨＯＴＥＬ　%1",
        u"%1パークホテル",     u"ホテルニュー%1",       u"%1リバーサイドホテル"};
    static const char16_t* const access_forms[] = {u"ＪＲ%1駅徒歩%2分", u"地下鉄%1駅より徒歩%2分",
                                                   u"%1駅から車で%2分", u"ＪＲ%1駅東口徒歩%2分",
                                                   u"私鉄%1駅下車徒歩%2分"};
    static const char16_t* const notes[] = {u"★★★",        u"★★",          u"○",          u"朝食付き",
                                            u"大浴場あり", u"LAN完備",     u"駐車場無料", u"禁煙ルームあり",
                                            u"天然温泉",   u"ﾚｲﾄﾁｪｯｸｱｳﾄ可"};

    src.hotels.clear();
    for (int i = 1; i <= n; ++i) {
        DbSource::Hotel h;
        // Prefectures with more districts get more hotels, as the big cities do.
        const int d = src.districts.isEmpty() ? 0 : 1 + pick(int(src.districts.size()));
        int ken = d > 0 ? src.district_ken.value(d - 1) : 1 + pick(int(src.prefectures.size()));
        if (ken < 1 || ken > src.prefectures.size()) ken = 1;
        h.ken = ken;
        h.syousai = d;
        h.airport = chance(92) ? src.ken_airport.value(ken - 1) : 0;
        const QString district = h.syousai > 0 ? src.districts[h.syousai - 1] : src.prefectures[ken - 1][1];
        h.info_no = chance(75) ? 10000 + i : 0;
        h.name = QString::fromUtf16(name_forms[pick(std::size(name_forms))]).arg(district);
        if (chance(30)) h.name += wide(1 + pick(3)) + QStringLiteral("号館");
        if (chance(96)) {
            h.tel = QStringLiteral("%1-%2-%3")
                        .arg(QString::number(10 + pick(90)).prepend(u'0'))
                        .arg(100 + pick(900))
                        .arg(1000 + pick(9000), 4, 10, QLatin1Char('0'));
        }
        if (chance(94)) {
            const int rooms = 20 + pick(480);
            h.rooms = chance(5) ? QStringLiteral("約%1").arg(rooms) : QString::number(rooms);
        }
        if (chance(97)) {
            h.access = QString::fromUtf16(access_forms[pick(std::size(access_forms))])
                           .arg(district)
                           .arg(wide(1 + pick(15)));
        }
        const int yen = (45 + pick(110)) * 100;
        switch (pick(8)) {
        case 0:
            h.price = QStringLiteral("%1円").arg(yen);
            break;
        case 1:
            h.price = format_yen(yen) + QStringLiteral("～");
            break;
        case 2:
            h.price = QStringLiteral("%1円～").arg(yen);
            break;
        case 3:
            h.price = QStringLiteral("シングル") + format_yen(yen);
            break;
        case 4:
            if (chance(30))
                h.price = QStringLiteral("\\");
            else
                h.price = format_yen(yen);
            break;
        default:
            h.price = format_yen(yen);
            break;
        }
        if (chance(80)) h.note = QString::fromUtf16(notes[pick(std::size(notes))]);
        if (chance(25)) h.url = QStringLiteral("http://www.example.jp/hotel%1/").arg(i);
        h.address = src.prefectures[ken - 1][2] + district +
                    QStringLiteral("%1-%2-%3").arg(1 + pick(9)).arg(1 + pick(30)).arg(1 + pick(20));
        if (chance(35))
            h.best = QStringLiteral("hotel_no=%1&pref=%2").arg(50000 + i).arg(ken, 2, 10, QLatin1Char('0'));
        src.hotels << h;
    }
}

} // namespace tomarina
