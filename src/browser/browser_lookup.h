#pragma once

#include "platform/platform.h"
#include "shared/settings.h"

#include <QString>
#include <cstdint>

namespace tomarina {

// The registry root the lookup reads.
inline constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u;

// The browser kinds of inet_data1.
namespace browser_kind {
inline const QString explorer = QStringLiteral("1");
inline const QString netscape = QStringLiteral("2");
inline const QString none = QStringLiteral("3");
} // namespace browser_kind

// True when inet_data1 names a browser the links can start ("1" or "2").
bool browser_set(const Settings& s);
// True while the browser kind is still to be found ("0" or empty).
bool browser_undetermined(const Settings& s);

// Reads the value value_name (empty: the key's default value) of key under root into value. A text
// value is cut at its first NUL; a 32-bit number becomes its decimal text; any other type leaves
// value as it was. A missing key or value, or one longer than 1024 bytes, empties value and gives
// false.
bool read_key_value(Platform& pf, std::uint32_t root, const QString& key, const QString& value_name,
                    QString& value);

// Recognises the browser a command line names: sets inet_data1 and inet_data2 and cuts command to the
// bare program path; error becomes "err" when neither browser is named, and nothing else changes.
void recognise_browser(Settings& s, QString& command, QString& error);

// The default browser lookup: the command registered for http addresses, recognised by
// recognise_browser. A registered command that names neither browser registers the desktop's opener
// (desktop_opener_path) as kind "1", when there is one.
void look_up_browser(Settings& s, Platform& pf);

} // namespace tomarina
