#pragma once

#include "shared/app_state.h"

namespace tomarina {

// Opens the directory file of the program folder read-only unless it is open. False when the file
// cannot be opened.
bool open_database(AppState& st);

// Reads the open directory file into the hotel tables, then the user's hotels from user_file, with the
// hooks between the steps. With scratch_copy the last line read of the user file is also kept in
// tmp_file, as the program does; a tool leaves no file behind. Returns the number of failed steps.
int load_database(AppState& st, LoadHooks hooks = {}, bool scratch_copy = true);

} // namespace tomarina
