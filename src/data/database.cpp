#include "data/database.h"

#include "data/directory_words.h"
#include "data/regular_file.h"
#include "data/steps.h"
#include "data/text_rules.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace tomarina {

bool DatabaseFile::open(const QString& path) {
    close();
    auto file = std::make_unique<QFile>();
    // Read-only: the directory is never written, and a missing file is not created.
    if (!open_regular_file(*file, path)) return false;
    // Read to its end whatever the size said: the file may shrink or grow while it is read, and what a
    // read error leaves unread is simply not there.
    QByteArray bytes;
    if (file->size() < unreadable_size) {
        bytes.reserve(file->size());
        char chunk[64 * 1024];
        for (;;) {
            const qint64 n = file->read(chunk, sizeof chunk);
            if (n <= 0) break;
            if (bytes.size() + n >= unreadable_size) {
                bytes.clear();
                break;
            }
            bytes.append(chunk, n);
        }
    }
    owned_ = std::move(bytes);
    view_ = owned_;
    file_ = std::move(file);
    return true;
}

void DatabaseFile::close() {
    view_ = {};
    owned_.clear();
    file_.reset();
}

class Loader::Cursor {
  public:
    Cursor(QByteArrayView d, qint64 pos) : d_(d), pos_(pos) {}

    std::int32_t integer() {
        need(4);
        std::uint32_t v;
        std::memcpy(&v, d_.data() + pos_, 4);
        pos_ += 4;
        if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
        return std::int32_t(v);
    }
    double number() { return cnv_data(integer()); }
    // A text decoded where the tables keep it: in the store, beside the texts before it.
    QString text(TextStore& store) {
        const QByteArrayView bytes = text_bytes();
        return store.keep(decode_cp932(bytes, store.room(cp932_room(bytes.size()))));
    }
    // A text that is read past and not kept.
    void skip_text() { text_bytes(); }
    double digits2() {
        need(2);
        const double v = leading_number(d_.sliced(pos_, 2));
        pos_ += 2;
        return v;
    }

  private:
    QByteArrayView text_bytes() {
        need(4);
        const auto* p = reinterpret_cast<const uchar*>(d_.data() + pos_);
        const int type = p[0] | (p[1] << 8);
        const int length = p[2] | (p[3] << 8);
        if (type != 8) throw BadData("type code " + std::to_string(type));
        pos_ += 4;
        need(length);
        const QByteArrayView bytes = d_.sliced(pos_, length);
        pos_ += length;
        return bytes;
    }
    void need(qint64 n) const {
        if (pos_ < 0 || pos_ + n > d_.size()) throw EndOfData{};
    }
    QByteArrayView d_;
    qint64 pos_;
};

Loader::Loader(HotelTables& t, QByteArrayView file) : t_(t), file_(file) {}

double Loader::cnv_data(std::int32_t in_data) {
    const auto bits = std::uint32_t(in_data);
    const int exponent = int((bits >> 23) & 0xFF) - 127;
    if (exponent < 0 || exponent > 23) return 0.0;
    return double(std::bit_cast<float>(bits));
}

void Loader::require_control() const {
    if (!control_ok_) throw BadData("no control block");
}

Loader::Cursor Loader::seek(int section) const {
    require_control();
    const qint64 block = t_.ctl_tbl(section);
    if (block < 0) throw BadData("seek before the start of the file");
    return Cursor(file_, block * 1024);
}

void Loader::progress(int section) {
    if (progress_ && control_ok_) progress_(int(t_.ctl_tbl(section)));
}

void Loader::get_control() {
    const qint64 length = file_.size();
    t_.blk_count = to_integer(length / 1024);
    if (length < 1024) throw BadData("shorter than one block");
    Cursor c(file_, length - 1024);
    for (int n = 1; n <= 24; ++n) t_.ctl_tbl(n) = c.integer();
    control_ok_ = true;
}

void Loader::get_todouhuken() {
    // Fixed captions: set even when the section cannot be read.
    for (int k = 0; k <= 9; ++k)
        t_.area_title(k) = QString::fromUtf16(directory_words::area_titles[std::size_t(k)]);

    Cursor c = seek(1);
    try {
        const Integer n = to_integer(c.integer());
        for (int i = 1; i <= n; ++i) {
            QString area = c.text(t_.texts);
            QString name = c.text(t_.texts);
            QString alias = c.text(t_.texts);
            t_.ken_area(i) = std::move(area);
            t_.ken_name(i) = std::move(name);
            t_.ken_alias(i) = std::move(alias);
            t_.ken_count = Integer(i);
        }
    } catch (const EndOfData&) {
    }

    QString prev = directory_words::whole_country;
    int k = 0;
    t_.area_list(0) = prev;
    for (int i = 1; i <= t_.ken_count; ++i) {
        if (t_.ken_area(i) != prev) {
            ++k;
            t_.area_list(k) = t_.ken_area(i);
        }
        prev = t_.ken_area(i);
    }
}

void Loader::get_tiiki() {
    progress(2);
    Cursor c = seek(2);
    try {
        const Integer n = to_integer(c.integer());
        for (int i = 1; i <= n; ++i)
            for (int k = 0; k < 4; ++k) c.skip_text();
    } catch (const EndOfData&) {
    }
}

void Loader::get_airport() {
    progress(3);
    Cursor c = seek(3);
    try {
        const Integer n = to_integer(c.integer());
        for (int i = 1; i <= n; ++i) {
            QString name = c.text(t_.texts);
            const Integer area = to_integer(round_even(c.digits2()));
            t_.airport_name(i) = std::move(name);
            t_.airport_area(i) = area;
            t_.airport_count = Integer(i);
        }
    } catch (const EndOfData&) {
    }
}

void Loader::get_syousai() {
    progress(4);
    Cursor c = seek(4);
    try {
        const Integer n = to_integer(c.integer());
        for (int i = 1; i <= n; ++i) {
            t_.syousai_name(i) = c.text(t_.texts);
            t_.syousai_count = Integer(i);
        }
    } catch (const EndOfData&) {
    }
}

template <typename Store> void Loader::marked_list(Cursor& c, Store store) {
    try {
        for (;;) {
            const double v = c.number();
            if (v == end_marker) break;
            const long long h = round_even(v);
            store(h, c.text(t_.texts));
        }
    } catch (const EndOfData&) {
    }
}

void Loader::get_hotel() {
    progress(11);
    Integer n = 0;
    {
        Cursor c = seek(11);
        try {
            n = to_integer(c.integer());
            for (int i = 1; i <= n; ++i) {
                const std::int32_t a = c.integer();
                const std::int32_t b = c.integer();
                // Whole-number division truncates, as the directory's tool wrote them.
                t_.hotel_info_no(i) = a / 3000;
                const std::int32_t code = b / 3000;
                t_.hotel_ken(i) = code / 100;
                t_.hotel_airport(i) = code % 100;
                t_.hotel_syousai(i) = b % 3000;
                t_.hotel_syousai_name(i) = t_.syousai_name(t_.hotel_syousai(i));
                auto& ken = t_.ken_hotel_cnt(t_.hotel_ken(i));
                auto& airport = t_.airport_hotel_cnt(t_.hotel_airport(i));
                ken = to_integer(ken + 1);
                airport = to_integer(airport + 1);
                t_.hotel_count = t_.hotel_count_db = Integer(i);
            }
        } catch (const EndOfData&) {
        }
    }

    progress(12);
    {
        Cursor c = seek(12);
        try {
            for (int k = 1; k <= n; ++k) {
                const long long h = round_even(c.number());
                t_.hotel_name(h) = c.text(t_.texts);
            }
        } catch (const EndOfData&) {
        }
    }

    auto plain = [this](int section, FixedTable<QString, HotelTables::hotel_capacity>& field) {
        progress(section);
        Cursor c = seek(section);
        marked_list(c, [&field](long long h, QString text) { field(h) = std::move(text); });
    };
    plain(13, t_.hotel_tel);
    plain(14, t_.hotel_rooms);
    plain(15, t_.hotel_access);

    progress(16);
    {
        Cursor c = seek(16);
        marked_list(c, [this](long long h, QString text) {
            // The text is kept even when its number does not fit and the step stops there.
            const QString& price = t_.hotel_price(h) = std::move(text);
            t_.hotel_price_num(h) = price_number(price);
        });
    }

    progress(17);
    {
        Cursor c = seek(17);
        marked_list(c, [this](long long h, QString text) {
            TextStore& store = t_.texts;
            const qsizetype bars = text.indexOf(u"||");
            if (bars >= 0) {
                const QString note = store.part(text, 0, bars);
                t_.hotel_note(h) = note;
                // The keyword search's full-width copy, made while the remarks are at hand.
                t_.hotel_note_wide(h) = store.keep(to_full_width(note, store.room(note.size())));
            }
            const qsizetype http = text.indexOf(u"http");
            if (http >= 0) t_.hotel_url(h) = store.part(text, http, text.size() - http);
        });
    }

    plain(18, t_.hotel_address);
}

void Loader::get_url() {
    Cursor c = seek(19);
    try {
        const Integer n = to_integer(c.integer());
        for (int i = 1; i <= n; ++i) {
            QString area = c.text(t_.texts);
            QString text = c.text(t_.texts);
            QString link = c.text(t_.texts);
            t_.rsv_area(i) = std::move(area);
            t_.rsv_text(i) = std::move(text);
            t_.rsv_link(i) = std::move(link);
            t_.rsv_count = Integer(i);
        }
    } catch (const EndOfData&) {
    }
}

void Loader::get_best() {
    Cursor c = seek(20);
    marked_list(c, [this](long long h, QString text) { t_.hotel_best(h) = std::move(text); });
}

void Loader::set_db_date() {
    require_control();
    t_.db_date = serial_date(t_.ctl_tbl(23));
}

int Loader::load_all(const LoadHooks& hooks) {
    auto call = [](const std::function<void()>& f) {
        if (f) f();
    };
    progress_ = hooks.progress;
    return run_steps({
        {"get_control", [this] { get_control(); }},
        {"started",
         [&] {
             if (hooks.started) hooks.started(std::max<int>(0, t_.blk_count));
         }},
        {"get_todouhuken", [this] { get_todouhuken(); }},
        {"get_tiiki", [this] { get_tiiki(); }},
        {"get_airport", [this] { get_airport(); }},
        {"get_syousai", [this] { get_syousai(); }},
        {"get_hotel", [this] { get_hotel(); }},
        {"get_url", [this] { get_url(); }},
        {"get_best", [this] { get_best(); }},
        {"user_hotels", [&] { call(hooks.user_hotels); }},
        {"finished", [&] { call(hooks.finished); }},
        {"set_db_date", [this] { set_db_date(); }},
    });
}

} // namespace tomarina
