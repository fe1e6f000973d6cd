// The directory reader on arbitrary bytes: every step, then a look at what the tables hold.
#include "data/database.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One set of tables for every input: clearing costs what the last input stored, where a fresh set
    // would build and destroy every 15000-slot table each time.
    static auto* tables = new tomarina::HotelTables;
    tomarina::HotelTables& t = *tables;
    t.clear();
    tomarina::Loader loader(t, QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    loader.load_all();
    // Counts must stay within what the tables hold.
    if (t.ken_count > 50 || t.airport_count > 100 || t.syousai_count > 3000 || t.hotel_count > 15000 ||
        t.rsv_count > 300 || t.hotel_count_db > t.hotel_count)
        __builtin_trap();
    for (int i = 1; i <= t.hotel_count; ++i) (void)t.hotel_name(i).size();
    return 0;
}
