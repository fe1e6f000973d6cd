#pragma once

#include "shared/settings.h"

#include <QObject>
#include <functional>

namespace tomarina {

// The registered browser, the settings' inet_data1 and inet_data2, which the link buttons follow. The
// windows change it only here, and it tells the change as it makes it.
class BrowserRegistration : public QObject {
    Q_OBJECT
  public:
    explicit BrowserRegistration(Settings& settings) : settings_(settings) {}

    // Registers a browser of that kind and path; emits changed when either differs from before.
    void set(const QString& kind, const QString& path);
    // Runs a look-up that may register a browser in the settings, as the start-up does; emits changed
    // when the registration differs afterwards.
    void look_up(const std::function<void(Settings&)>& lookup);

  signals:
    void changed();

  private:
    Settings& settings_;
};

} // namespace tomarina
