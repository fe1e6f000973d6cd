#include "shared/saves.h"

#include "data/save_file.h"
#include "platform/platform.h"
#include "shared/app_state.h"
#include "shared/shared_texts.h"
#include "shared/user_folder.h"

namespace tomarina {

bool save_ini_file(const AppState& st, Platform& pf, QWidget* parent) {
    if (st.read_only_folder()) return false; // said once at the start
    QString reason;
    if (write_settings_file(st.full_path(st.ini_file), st.settings, &reason)) return true;
    tell_save_failure(pf, parent, st.ini_file, reason);
    return false;
}

bool save_user_file(const AppState& st, Platform& pf, QWidget* parent) {
    if (st.read_only_folder()) {
        tell_save_failure(pf, parent, st.user_file, read_only_folder_reason());
        return false;
    }
    SaveReport report;
    if (save_hotel_user(st.full_path(st.user_file), st.user, &report)) return true;
    tell_save_failure(pf, parent, st.user_file, shared_texts::describe(report));
    return false;
}

bool user_file_ready(AppState& st, Platform& pf, QWidget* parent) {
    if (!st.user.user_read_error.failed()) return true;
    // What could not be read may be readable now (permissions mended); then the list opens on it.
    if (st.directory.read_user_file(st.full_path(st.user_file), st.scratch_path())) return true;
    pf.message(parent,
               shared_texts::user_file_not_readable.arg(st.full_path(st.user_file),
                                                        shared_texts::describe(st.user.user_read_error)),
               shared_texts::error_title, MsgIcon::Critical, MsgButtons::Ok);
    return false;
}

QStringList saved_file_names() {
    return {AppState::ini_file, AppState::user_file, AppState::tmp_file,
            AppState::dat_file, AppState::help_file, QString::fromLatin1(installed_checksum_file)};
}

void tell_save_failure(Platform& pf, QWidget* parent, const QString& file_name, const QString& reason) {
    pf.message(parent, shared_texts::save_failed.arg(file_name, reason), shared_texts::error_title,
               MsgIcon::Critical, MsgButtons::Ok);
}

} // namespace tomarina
