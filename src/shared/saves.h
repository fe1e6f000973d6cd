#pragma once

#include <QString>

class QWidget;

namespace tomarina {

struct AppState;
class Platform;

// The user's files, saved at once. A save that fails leaves the old file and everything in memory as it
// was, and says which file and why in a message box titled "エラーメッセージ". Each returns whether the
// file was saved.
bool save_ini_file(const AppState& st, Platform& pf, QWidget* parent);
bool save_user_file(const AppState& st, Platform& pf, QWidget* parent);

// The message box of a failed save of file_name.
void tell_save_failure(Platform& pf, QWidget* parent, const QString& file_name, const QString& reason);

} // namespace tomarina
