// The settings reader on arbitrary bytes, then the round trip read, write, read, write, read: the first
// write may normalise what it read, after that the file and the settings must stay as they are. Whatever
// was read can be written, and every value stays on its own line.
#include "shared/settings.h"

#include <QBuffer>

namespace {

tomarina::Settings read(QByteArray bytes) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    tomarina::Settings s;
    tomarina::read_settings(in, s);
    return s;
}

bool same_texts(const tomarina::Settings& a, const tomarina::Settings& b) {
    if (a.inet_data1 != b.inet_data1 || a.inet_data2 != b.inet_data2) return false;
    for (int k = 0; k <= 5; ++k)
        if (a.prefecture_history(k) != b.prefecture_history(k) ||
            a.airport_history(k) != b.airport_history(k))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const tomarina::Settings first = read(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    bool ok = false;
    const QByteArray once = tomarina::settings_bytes(first, &ok);
    // The section headings, 14 pairs of positions, 20 control values and 2 x 5 history entries.
    constexpr int lines = 4 + 28 + 20 + 10;
    if (!ok || once.count('\n') != lines || once.count('\r') != lines) __builtin_trap();
    const tomarina::Settings second = read(once);
    const QByteArray written = tomarina::settings_bytes(second);
    const tomarina::Settings third = read(written);
    if (tomarina::settings_bytes(third) != written || !same_texts(second, third)) __builtin_trap();
    return 0;
}
