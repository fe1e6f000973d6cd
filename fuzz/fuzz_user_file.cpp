// The user hotel file reader on arbitrary bytes, then a save and a second read that must agree.
#include "data/text_rules.h"
#include "data/user_file.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static tomarina::HotelTables* t = [] {
        auto* tables = new tomarina::HotelTables;
        tables->ken_count = 1;
        tables->ken_name(1) = QStringLiteral("東京");
        return tables;
    }();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    auto u = std::make_unique<tomarina::UserTables>();
    tomarina::get_hotel_user(in, *u, *t, QString());
    tomarina::copy_user_hotel(*u, *t);
    return 0;
}
