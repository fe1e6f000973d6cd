#include "shared/browser_registration.h"

#include "data/steps.h"

namespace tomarina {

void BrowserRegistration::set(const QString& kind, const QString& path) {
    look_up([&](Settings& s) {
        s.inet_data1 = kind;
        s.inet_data2 = path;
    });
}

void BrowserRegistration::look_up(const std::function<void(Settings&)>& lookup) {
    const QString kind = settings_.inet_data1;
    const QString path = settings_.inet_data2;
    // A look-up that fails midway may still have changed the registration.
    try_step("lookup", [&] { lookup(settings_); });
    if (settings_.inet_data1 != kind || settings_.inet_data2 != path) emit changed();
}

} // namespace tomarina
