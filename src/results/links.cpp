#include "results/links.h"

#include "data/steps.h"

namespace tomarina {

LinkButtons link_availability(const HotelTables& t, long long h) {
    if (t.hotel_info_no(h) != 0) return {true, true};
    if (!t.hotel_url(h).isEmpty()) return {true, false};
    if (!t.hotel_best(h).isEmpty()) return {true, true};
    return {false, false};
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
    QString a, b, c;
    const Long n = t.hotel_info_no(h);
    if (n != 0) a = mode == LinkMode::Information ? info_page_address(n) : reserve_page_address(n);
    if (!t.hotel_best(h).isEmpty()) b = best_page_address(t.hotel_best(h));
    if (!t.hotel_url(h).isEmpty()) c = t.hotel_url(h);
    if (c == b) b.clear();
    QStringList out;
    if (boxes.a && !a.isEmpty()) out << a;
    if (boxes.b && !b.isEmpty()) out << b;
    if (boxes.c && !c.isEmpty()) out << c;
    return out;
}

bool caution_step(Settings& s, Platform& pf, QWidget* parent) {
    if (s.control9_flg != 0 || s.sv_count >= 3) return true;
    s.sv_count = Integer(s.sv_count + 1);
    const QString text =
        QStringLiteral("ホテル情報、予約は各ホテルのルールに従い、利用者の責任で行って下さい\r\n"
                       "予約等のトラブルが発生しても作者は一切関知しません\r\n"
                       "本メッセージは３回まで表示します");
    return pf.message(parent, text, QStringLiteral("注意メッセージ"), MsgIcon::Exclamation,
                      MsgButtons::OkCancel) != MsgAnswer::Cancel;
}

bool is_web_address(const QString& address) {
    if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return false;
    for (const QChar ch : address)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) return false;
    return true;
}

QString browser_error_text(const QString& address) {
    return QStringLiteral("ブラウザを起動できませんでした。\r\n") + address;
}

bool start_browser(const Settings& s, Platform& pf, QWidget* parent, const QString& address) {
    bool started = false;
    try_step("start browser", [&] {
        if (is_web_address(address) && !s.inet_data2.isEmpty())
            started = pf.start_program(s.inet_data2, address);
    });
    if (!started)
        try_step("browser message", [&] {
            pf.message(parent, browser_error_text(address), QStringLiteral("エラーメッセージ"),
                       MsgIcon::Exclamation, MsgButtons::Ok);
        });
    return started;
}

void open_links(const HotelTables& t, Settings& s, Platform& pf, QWidget* parent, long long h, LinkMode mode,
                LinkBoxes boxes) {
    if (!caution_step(s, pf, parent)) return;
    QStringList addresses;
    try_step("link_addresses", [&] { addresses = link_addresses(t, h, mode, boxes); });
    for (const QString& address : addresses) start_browser(s, pf, parent, address);
}

} // namespace tomarina
