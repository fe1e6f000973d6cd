// The settings reader on arbitrary bytes, and a write-read round trip of what it read.
#include "app/settings.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    tomarina::Settings s;
    tomarina::read_settings(in, s);
    QByteArray written = tomarina::settings_bytes(s);
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    tomarina::Settings t;
    tomarina::read_settings(again, t);
    return 0;
}
