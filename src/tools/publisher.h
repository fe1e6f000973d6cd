#pragma once

#include <QString>

namespace tomarina {

// The publisher's lines of the splash and About windows and of tomarina --version. The project's one
// address is its home page; the notice says what LICENSE grants.
inline const QString publisher_home_page = QStringLiteral("ホームページ：github.com/tomarina/tomarina");
inline const QString publisher_contact = QStringLiteral("お問い合わせ：github.com/tomarina/tomarina/issues");
inline const QString publisher_notice =
    QStringLiteral("本ソフトウェアはMITライセンスのフリーソフトウェアです。");
inline const QString publisher_copyright = QStringLiteral("Copyright (c) 2026 The tomarina developers");

} // namespace tomarina
