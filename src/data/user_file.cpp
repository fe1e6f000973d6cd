#include "data/user_file.h"

#include "data/regular_file.h"
#include "data/save_file.h"
#include "data/text_rules.h"

#include <QFile>

#include <new>
#include <sys/stat.h>

namespace tomarina {

QStringList user_line_fields(QStringView line) {
    return read_fields(line, {.most = 10});
}

QString user_line(const QStringList& fields) {
    constexpr char16_t quote_mark = 0x22;
    QString out;
    qsizetype size = 0;
    for (const QString& f : fields) size += f.size() + 3;
    out.reserve(size);
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k) out += u',';
        out += quote_mark;
        // A quote inside a field is doubled so that it reads back whole.
        for (const QChar c : fields[k]) {
            if (c == quote_mark) out += quote_mark;
            out += c;
        }
        out += quote_mark;
    }
    return out;
}

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
    // A name the directory does not hold gets the number that stands for none.
    auto number = [](int k, Long none) { return k ? Long(k) : none; };
    u.user_ken(i) = number(find_name(t.ken_name, t.ken_count, u.user_ken_name(i)), 99);
    u.user_airport(i) = number(find_name(t.airport_name, t.airport_count, u.user_airport_name(i)), 99);
    u.user_syousai(i) = number(find_name(t.syousai_name, t.syousai_count, u.user_syousai_name(i)), 999);
    u.user_price_num(i) = user_price_number(u.user_price(i));
}

bool get_hotel_user(QIODevice& dev, UserTables& u, const HotelTables& t, const QString& tmp_path) {
    QByteArray head;
    QByteArray tail;
    try {
        if (!read_up_to(dev, user_read_limit, head)) {
            u.user_read_error = {FileProblem::read_failed, 0, {}};
            return false;
        }
        if (head.size() > user_read_limit) {
            // Records are read up to the last line end inside the limit; the rest stays bytes.
            qsizetype cut = user_read_limit;
            while (cut > 0 && head[cut - 1] != '\r' && head[cut - 1] != '\n') --cut;
            if (cut > 0 && head[cut - 1] == '\r' && head[cut] == '\n') ++cut;
            tail = head.mid(cut);
            head.truncate(cut);
            if (!read_up_to(dev, user_tail_limit, tail)) {
                u.user_read_error = {FileProblem::read_failed, 0, {}};
                return false;
            }
            if (tail.size() > user_tail_limit) {
                u.user_read_error = {FileProblem::too_large, 0, {}};
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        u.user_read_error = {FileProblem::out_of_memory, 0, {}};
        return false;
    }
    // CR, LF and CR LF each end a line. Neither byte is ever part of a two-byte character, so the lines
    // are found in the bytes and each is read on its own.
    int count = 0;
    QString last_line;
    const qsizetype n = head.size();
    for (qsizetype start = 0, i = 0; start < n; start = i) {
        while (i < n && head[i] != '\r' && head[i] != '\n') ++i;
        QByteArrayView bytes = QByteArrayView(head).sliced(start, i - start);
        const qsizetype line_start = start;
        if (i < n && head[i] == '\r' && i + 1 < n && head[i + 1] == '\n') ++i;
        if (i < n) ++i;
        // The old end-of-file mark after the last line is not data.
        if (i >= n && tail.isEmpty() && bytes.endsWith('\x1a')) bytes.chop(1);
        // Only an empty line is no record: a line of blanks holds a hotel with blank fields.
        if (bytes.isEmpty()) continue;
        if (count >= UserTables::user_capacity) {
            // Records the table cannot hold stay as they are in the file and are written back so.
            tail.prepend(head.mid(line_start));
            break;
        }
        last_line = decode_cp932_kept(bytes);
        // The first nine fields; one missing is empty.
        set_user_record(u, ++count, user_line_fields(last_line));
    }
    u.user_count = Integer(count);
    u.user_tail = tail;
    u.user_read_error = {};
    for (int i = 1; i <= count; ++i) derive_user_hotel(u, i, t);
    // The scratch copy of the last line; what was read does not depend on it. It is no more open to
    // others than the file it comes from.
    if (count > 0 && !tmp_path.isEmpty()) {
        unsigned most = 0777;
        struct stat st {};
        if (const auto* file = qobject_cast<const QFileDevice*>(&dev);
            file && file->handle() >= 0 && ::fstat(file->handle(), &st) == 0)
            most = st.st_mode & 0777;
        if (const auto bytes = encode_cp932_file(last_line))
            save_file(tmp_path, *bytes + "\r\n", nullptr, most);
    }
    return true;
}

void clear_user_hotels(UserTables& u) {
    u.user_count = 0;
    u.user_tail.clear();
}

namespace {

// keep_unless_filled: a missing or empty file, or one that is no regular file, leaves the records as
// they are instead of giving none.
bool read_user_file_at(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path,
                       bool keep_unless_filled) {
    QFile file;
    ReadReport why;
    switch (open_file_for_reading(file, path, why)) {
    case OpenedFile::missing:
        if (keep_unless_filled) return true;
        clear_user_hotels(u);
        u.user_read_error = {};
        return true;
    case OpenedFile::not_regular:
        if (keep_unless_filled) return true;
        u.user_read_error = why;
        return false;
    case OpenedFile::unreadable:
        u.user_read_error = why;
        return false;
    case OpenedFile::opened:
        break;
    }
    if (keep_unless_filled && file.size() == 0) return true;
    return get_hotel_user(file, u, t, tmp_path);
}

} // namespace

bool read_user_file(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path) {
    return read_user_file_at(path, u, t, tmp_path, false);
}

bool reread_user_file(const QString& path, UserTables& u, const HotelTables& t, const QString& tmp_path) {
    return read_user_file_at(path, u, t, tmp_path, true);
}

QByteArray user_file_bytes(const UserTables& u, bool* ok) {
    QString text;
    for (int i = 1; i <= u.user_name.held(u.user_count); ++i) {
        text += user_line(user_record(u, i));
        text += QStringLiteral("\r\n");
    }
    auto bytes = encode_cp932_file(text);
    if (ok) *ok = bytes.has_value();
    if (!bytes) return {};
    return *bytes + u.user_tail;
}

bool save_hotel_user(const QString& path, const UserTables& u, SaveReport* report) {
    bool ok = false;
    const QByteArray bytes = u.user_read_error.failed() ? QByteArray() : user_file_bytes(u, &ok);
    return save_read_file(path, u.user_read_error, bytes, ok, report);
}

void edit_data(UserTables& u, int index, const EditFields& f, const HotelTables& t) {
    QStringList fields;
    for (int k = 1; k <= 9; ++k) fields << input_form(f[std::size_t(k)]);
    u.user_ken_name(index); // an index outside the tables stores nothing
    set_user_record(u, index, fields);
    derive_user_hotel(u, index, t);
    u.user_price(index) = format_picture(u.user_price_num(index), yen_picture);
    u.user_copied_flg = 0;
}

void add_data(UserTables& u, const EditFields& f, const HotelTables& t) {
    const int index = u.user_count + 1;
    edit_data(u, index, f, t);
    u.user_count = Integer(index);
}

int copy_user_hotel(const UserTables& u, HotelTables& t) {
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
    return u.user_name.held(u.user_count) - fit;
}

} // namespace tomarina
