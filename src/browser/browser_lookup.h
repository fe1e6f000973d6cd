#pragma once

#include "shared/settings.h"
#include "platform/platform.h"

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

// Reads value SubKeyRef (empty: the key's default value) of KeyName under KeyRoot into KeyVal. A text
// value is cut at its first NUL; a 32-bit number becomes its decimal text; any other type leaves
// KeyVal as it was. A missing key or value, or one longer than 1024 bytes, empties KeyVal and gives
// false.
bool GetKeyValue(Platform& pf, std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal);

// Recognises the browser a command line names: sets inet_data1 and inet_data2 and cuts wk_text to the
// bare program path; err_flg becomes "err" when neither browser is named, and nothing else changes.
void chk_chr(Settings& s, QString& wk_text, QString& err_flg);

// The default browser lookup: the command registered for http addresses, recognised by chk_chr. A
// registered command that names neither browser registers the desktop's opener (desktop_opener_path) as
// kind "1", when there is one.
void StartSysInfo(Settings& s, Platform& pf);

} // namespace tomarina
