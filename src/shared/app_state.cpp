#include "shared/app_state.h"

#include "data/text_rules.h"

namespace tomarina {

QString AppState::full_path(const QString& file) const {
    return trim(app_path) + u'/' + file;
}

QString AppState::scratch_path() const {
    return read_only_folder_ ? QString() : full_path(tmp_file);
}

} // namespace tomarina
