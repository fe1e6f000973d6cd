// The user hotel file reader on arbitrary bytes, then the round trip read, write, read, write, read: the
// first write may normalise (trimming, a skipped blank, bytes that are not code page 932); after that
// every hotel must come back as it was. Then the append to the hotel table.
#include "data/text_rules.h"
#include "data/user_file.h"

#include <QBuffer>
#include <memory>

namespace {

std::unique_ptr<tomarina::UserTables> read(QByteArray bytes, const tomarina::HotelTables& t) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    auto u = std::make_unique<tomarina::UserTables>();
    tomarina::get_hotel_user(in, *u, t, QString());
    return u;
}

bool same_hotels(const tomarina::UserTables& a, const tomarina::UserTables& b) {
    if (a.user_count != b.user_count || a.user_extra != b.user_extra) return false;
    for (int i = 1; i <= a.user_name.held(a.user_count); ++i) {
        if (tomarina::user_record(a, i) != tomarina::user_record(b, i) || a.user_ken(i) != b.user_ken(i) ||
            a.user_airport(i) != b.user_airport(i) || a.user_syousai(i) != b.user_syousai(i) ||
            a.user_price_num(i) != b.user_price_num(i))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static tomarina::HotelTables* t = [] {
        auto* tables = new tomarina::HotelTables;
        tables->ken_count = 1;
        tables->ken_name(1) = QStringLiteral("東京");
        return tables;
    }();
    const auto first = read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), *t);
    const auto second = read(tomarina::user_file_bytes(*first), *t);
    const QByteArray written = tomarina::user_file_bytes(*second);
    const auto third = read(written, *t);
    if (!same_hotels(*second, *third) || tomarina::user_file_bytes(*third) != written) __builtin_trap();
    tomarina::copy_user_hotel(*first, *t);
    return 0;
}
