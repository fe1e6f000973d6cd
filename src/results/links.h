#pragma once

#include "browser/browser_start.h"
#include "data/hotel_tables.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace tomarina {

// Host names of the three outside servers, kept here and nowhere else.
namespace link_hosts {
// Information pages of the first service ("旅の窓口").
inline const QString info = QStringLiteral("www.mytrip.example.jp");
// Reservation search of the first service.
inline const QString reserve = QStringLiteral("rsv.mytrip.example.jp");
// Reservation pages of the second service ("ベストリザーブ").
inline const QString best = QStringLiteral("www.bestrsv.example.jp");
} // namespace link_hosts

// Which of the two link buttons a hotel allows.
struct LinkButtons {
    bool info = false;    // "ホテル情報"
    bool reserve = false; // "ホテル予約"
    bool operator==(const LinkButtons&) const = default;
};

// The availability rule: a service number gives both, else a home page gives only the information,
// else a second-service text gives both, else neither.
LinkButtons link_availability(const HotelRecord& r);
LinkButtons link_availability(const HotelTables& t, long long h);

enum class LinkMode { Information, Reservation };

// The detail window's three boxes: A the first service, B the second service, C the home page.
struct LinkBoxes {
    bool a = true, b = true, c = true;
};

QString info_page_address(long long info_no);
QString reserve_page_address(long long info_no);
QString best_page_address(const QString& best);

// The addresses one press opens, in the order A, B, C; B is dropped when it equals C, and an address
// whose box is cleared is left out. An unknown hotel gives none.
QStringList link_addresses(const HotelRecord& r, LinkMode mode, LinkBoxes boxes = {});
QStringList link_addresses(const HotelTables& t, long long h, LinkMode mode, LinkBoxes boxes = {});

// One press of "ホテル情報" or "ホテル予約": the caution step, then each address in turn. Gives the
// number of pages handed to the browser.
int open_links(const HotelRecord& r, SettingsStore& s, Platform& pf, QWidget* parent, LinkMode mode,
               LinkBoxes boxes = {});

} // namespace tomarina
