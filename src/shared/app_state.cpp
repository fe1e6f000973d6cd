#include "shared/app_state.h"

#include "data/text_rules.h"

namespace tomarina {

QString AppState::full_path(const QString& file) const {
    return trim(app_path) + u'/' + file;
}

} // namespace tomarina
