#include "shared/saves.h"

#include "shared/app_state.h"
#include "data/save_file.h"
#include "data/user_file.h"
#include "platform/platform.h"

namespace tomarina {

bool save_ini_file(const AppState& st, Platform& pf, QWidget* parent) {
    QString reason;
    if (write_settings_file(st.full_path(st.ini_file), st.settings, &reason)) return true;
    tell_save_failure(pf, parent, st.ini_file, reason);
    return false;
}

bool save_user_file(const AppState& st, Platform& pf, QWidget* parent) {
    QString reason;
    if (save_hotel_user(st.full_path(st.user_file), st.user, &reason)) return true;
    tell_save_failure(pf, parent, st.user_file, reason);
    return false;
}

void tell_save_failure(Platform& pf, QWidget* parent, const QString& file_name, const QString& reason) {
    pf.message(parent, save_failed_message(file_name, reason), QStringLiteral("エラーメッセージ"),
               MsgIcon::Critical, MsgButtons::Ok);
}

} // namespace tomarina
