#include "results/links.h"

#include "data/steps.h"

namespace tomarina {

LinkButtons link_availability(const HotelRecord& r) {
    if (r.info_no != 0) return {true, true};
    if (!r.url.isEmpty()) return {true, false};
    if (!r.best.isEmpty()) return {true, true};
    return {false, false};
}

LinkButtons link_availability(const HotelTables& t, long long h) {
    return link_availability(hotel_record(t, h));
}

QString info_page_address(long long info_no) {
    const QString n = QString::number(info_no);
    return QStringLiteral("http://") + link_hosts::info + QStringLiteral("/HOTEL/") + n + u'/' + n +
           QStringLiteral(".html");
}

QString reserve_page_address(long long info_no) {
    return QStringLiteral("http://") + link_hosts::reserve + QStringLiteral("/my/ry_kensaku.k1?f_no=") +
           QString::number(info_no);
}

QString best_page_address(const QString& best) {
    return QStringLiteral("http://") + link_hosts::best + QStringLiteral("/best/s?") + best;
}

QStringList link_addresses(const HotelTables& t, long long h, LinkMode mode, LinkBoxes boxes) {
    if (h < 0 || h > HotelTables::hotel_capacity) return {};
    return link_addresses(hotel_record(t, h), mode, boxes);
}

QStringList link_addresses(const HotelRecord& r, LinkMode mode, LinkBoxes boxes) {
    QString a, b, c;
    const Long n = r.info_no;
    if (n != 0) a = mode == LinkMode::Information ? info_page_address(n) : reserve_page_address(n);
    if (!r.best.isEmpty()) b = best_page_address(r.best);
    if (!r.url.isEmpty()) c = r.url;
    if (c == b) b.clear();
    QStringList out;
    if (boxes.a && !a.isEmpty()) out << a;
    if (boxes.b && !b.isEmpty()) out << b;
    if (boxes.c && !c.isEmpty()) out << c;
    return out;
}

int open_links(const HotelRecord& r, SettingsStore& s, Platform& pf, QWidget* parent, LinkMode mode,
               LinkBoxes boxes) {
    if (!caution_step(s, pf, parent)) return 0;
    QStringList addresses;
    try_step("link_addresses", [&] { addresses = link_addresses(r, mode, boxes); });
    const auto told = std::make_shared<bool>(false);
    int started = 0;
    for (const QString& address : addresses)
        started += start_browser(s.values(), pf, parent, address, told) ? 1 : 0;
    return started;
}

} // namespace tomarina
