#pragma once

#include <QString>

namespace tomarina {

struct Settings;

// A program file the settings may name as the browser: trusted as the disk search's hits are (see
// trusted_program_file) and kept by the settings file as it is.
bool registrable_browser(const QString& path);

// The desktop's own opener (xdg-open): it hands an address to the browser the user chose, so the links
// work on a system where neither of the two browsers the lookup knows is installed. The first one on the
// PATH that is registrable_browser; empty when there is none.
QString desktop_opener_path();

// Registers the opener as the browser ("1", its path). False, and nothing changed, when opener is empty.
bool register_desktop_opener(Settings& s, const QString& opener);

// A new program folder's settings: tomarina.ini at ini_path with the start-up values and the opener
// registered. Does nothing and returns false when the file exists already or no opener is known, so a
// user's settings are never replaced; a save that fails returns false with the reason in error.
bool create_settings_with_opener(const QString& ini_path, const QString& opener, QString* error = nullptr);

} // namespace tomarina
