#include "shared/program_folder.h"

#include "data/user_file.h"

namespace tomarina {

bool open_database(AppState& st) {
    if (st.dat_open_flg == 0) {
        if (!st.dat.open(st.full_path(st.dat_file))) return false;
        st.dat_open_flg = 1;
    }
    return true;
}

int load_database(AppState& st, LoadHooks hooks, bool scratch_copy) {
    hooks.user_hotels = [&st, scratch_copy] {
        read_user_file(st.full_path(st.user_file), st.user, st.db,
                       scratch_copy ? st.scratch_path() : QString());
    };
    return Loader(st.db, st.dat.bytes()).load_all(hooks);
}

} // namespace tomarina
