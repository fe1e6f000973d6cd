#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tomarina {

struct AppState;
class Platform;

// The user's files, saved at once. A save that fails leaves the old file and everything in memory as it
// was, and says which file and why in a message box titled "エラーメッセージ". Each returns whether the
// file was saved.
bool save_ini_file(const AppState& st, Platform& pf, QWidget* parent);
bool save_user_file(const AppState& st, Platform& pf, QWidget* parent);

// Whether the maintenance list may open: true unless the user file could not be read in this run. Such
// a file is read again; while it still cannot be read, a message box titled "エラーメッセージ" says
// which file and why, and false comes back.
bool user_file_ready(AppState& st, Platform& pf, QWidget* parent);

// The names of the files the program saves in its folder.
QStringList saved_file_names();

// The message box of a failed save of file_name.
void tell_save_failure(Platform& pf, QWidget* parent, const QString& file_name, const QString& reason);

} // namespace tomarina
