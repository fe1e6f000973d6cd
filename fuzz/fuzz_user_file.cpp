// The user hotel file reader on arbitrary bytes, then the round trip read, write, read: every record
// comes back with the same nine texts and numbers, whatever the input, and a second write gives the same
// bytes. Only the framing may change (quotes, separators, line ends). Every byte that is no character of
// the code page is written back where it stood. Then the append to the hotel table.
#include "data/text_rules.h"
#include "data/user_file.h"

#include <QBuffer>
#include <array>

namespace {

// Reads into tables made once: a read replaces their records, count and kept bytes, and making 500
// empty records of every field for each input would cost more than the read itself.
const tomarina::UserTables& read(QByteArray bytes, const tomarina::HotelTables& t, tomarina::UserTables& u) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    if (!tomarina::get_hotel_user(in, u, t, QString())) __builtin_trap();
    return u;
}

bool same_hotels(const tomarina::UserTables& a, const tomarina::UserTables& b) {
    if (a.user_count != b.user_count || a.user_tail != b.user_tail) return false;
    for (int i = 1; i <= a.user_name.held(a.user_count); ++i) {
        if (tomarina::user_record(a, i) != tomarina::user_record(b, i) || a.user_ken(i) != b.user_ken(i) ||
            a.user_airport(i) != b.user_airport(i) || a.user_syousai(i) != b.user_syousai(i) ||
            a.user_price_num(i) != b.user_price_num(i))
            return false;
    }
    return true;
}

// The text of bytes, written back: the same length, and each byte that is no character comes back at
// its place (a character may come back as its twin of the same meaning).
void check_kept_bytes(const QByteArray& bytes) {
    const QString text = tomarina::decode_cp932_kept(bytes);
    const auto back = tomarina::encode_cp932_file(text);
    if (!back || back->size() != bytes.size() || tomarina::decode_cp932_kept(*back) != text) __builtin_trap();
    qsizetype pos = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= tomarina::kept_byte_base + 0x80 && u <= tomarina::kept_byte_base + 0xFF) {
            if ((*back)[pos] != bytes[pos] || uchar(bytes[pos]) != u - tomarina::kept_byte_base) __builtin_trap();
            ++pos;
        } else {
            // The length of a character's file form, found once per character.
            static std::array<qint8, 0x10000> lengths{};
            qint8& length = lengths[u];
            if (length == 0) length = qint8(tomarina::encode_cp932_file(QStringView(&c, 1))->size());
            pos += length;
        }
    }
    if (pos != bytes.size()) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static tomarina::HotelTables* t = [] {
        auto* tables = new tomarina::HotelTables;
        tables->ken_count = 1;
        tables->ken_name(1) = QStringLiteral("東京");
        return tables;
    }();
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    check_kept_bytes(input);
    static auto* tables = new tomarina::UserTables[2];
    const auto* first = &read(input, *t, tables[0]);
    bool ok = false;
    const QByteArray written = tomarina::user_file_bytes(*first, &ok);
    if (!ok) __builtin_trap();
    const auto* second = &read(written, *t, tables[1]);
    if (!same_hotels(*first, *second) || tomarina::user_file_bytes(*second) != written) __builtin_trap();
    tomarina::copy_user_hotel(*first, *t);
    return 0;
}
