#include "tools/search_limit.h"

#include "data/text_rules.h"

namespace tomarina {

std::optional<Integer> read_search_limit(QStringView text) {
    const QStringView t = trimmed_view(text);

    qsizetype k = 0;
    bool negative = false;
    if (k < t.size() && (t[k] == u'+' || t[k] == u'-')) negative = t[k++] == u'-';

    // The whole part and the fraction are kept as digit texts, so the rounding is exact however many
    // digits are typed.
    QString whole, fraction;
    bool point = false;
    for (; k < t.size(); ++k) {
        const QChar c = t[k];
        if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            (point ? fraction : whole).append(c);
        } else {
            return std::nullopt;
        }
    }
    if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;

    while (whole.size() > 1 && whole.front() == u'0') whole.remove(0, 1);
    if (whole.size() > 5) return std::nullopt;
    long long magnitude = whole.isEmpty() ? 0 : whole.toLongLong();

    if (!fraction.isEmpty()) {
        const QChar first = fraction.front();
        const bool rest_zero = QStringView(fraction).sliced(1).count(u'0') == fraction.size() - 1;
        const bool up = first > u'5' || (first == u'5' && (!rest_zero || magnitude % 2 == 1));
        if (up) ++magnitude;
    }

    const long long value = negative ? -magnitude : magnitude;
    if (value == 0 || value < -32768 || value > 32767) return std::nullopt;
    return Integer(value);
}

} // namespace tomarina
