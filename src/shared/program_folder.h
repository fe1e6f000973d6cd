#pragma once

#include "shared/app_state.h"

namespace tomarina {

// Opens the directory file of the program folder read-only unless it is open; dat_open_flg says
// whether it is. False when the file cannot be opened.
bool open_database(AppState& st);

// Reads the open directory file into the hotel tables, then the user's hotels from user_file, with the
// hooks between the steps. With scratch_copy the last line read of the user file is also kept in
// tmp_file, as the program does; a tool leaves no file behind. Returns the number of failed steps.
int load_database(AppState& st, LoadHooks hooks = {}, bool scratch_copy = true);

// The lock file that the running program holds in its program folder.
QString program_lock_path(const QString& folder);
// True while a running program holds the lock of folder; a lock left by a copy that no longer runs
// does not count.
bool program_runs_on(const QString& folder);

} // namespace tomarina
