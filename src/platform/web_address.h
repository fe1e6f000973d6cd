#pragma once

#include <QString>

namespace tomarina {

// Only a web address is handed to the browser: one starting with http:// or https:// and holding no
// control characters. Anything else (a file: address, an option-like "-x") is refused.
bool is_web_address(const QString& address);

} // namespace tomarina
