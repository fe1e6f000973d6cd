#include "platform/web_address.h"

namespace tomarina {

bool is_web_address(const QString& address) {
    if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return false;
    for (const QChar ch : address)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) return false;
    return true;
}

} // namespace tomarina
