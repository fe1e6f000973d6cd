#include "shared/program_folder.h"

namespace tomarina {

bool open_database(AppState& st) {
    return st.directory.open_file(st.full_path(st.dat_file));
}

int load_database(AppState& st, LoadHooks hooks, bool scratch_copy) {
    hooks.user_hotels = [&st, scratch_copy] {
        st.directory.read_user_file(st.full_path(st.user_file), scratch_copy ? st.scratch_path() : QString());
    };
    return st.directory.load_file(hooks);
}

} // namespace tomarina
