// The directory reader on arbitrary bytes: every step, then a look at what the tables hold.
#include "data/database.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tomarina::HotelTables t;
    tomarina::Loader loader(t, QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    loader.load_all();
    // Counts must stay within what the tables hold.
    if (t.ken_count > 50 || t.airport_count > 100 || t.syousai_count > 3000 || t.hotel_count > 15000 ||
        t.rsv_count > 300 || t.hotel_count_db > t.hotel_count)
        __builtin_trap();
    for (int i = 1; i <= t.hotel_count; ++i) (void)t.hotel_name(i).size();
    return 0;
}
