#pragma once

#include "shared/settings.h"

#include <QObject>
#include <functional>

namespace tomarina {

// The settings of the run. The windows read them through values() and change them only here; each
// function tells the change as it makes it, and a change that alters nothing, or is refused, tells none.
class SettingsStore : public QObject {
    Q_OBJECT
  public:
    const Settings& values() const { return values_; }

    // The start: the start-up values, then the file at path (none when empty), then the defaults of what
    // that left at 0.
    void load(const QString& path);
    // One of the whole-number keys (max_kensuu, sv_pop, sv_count, control1_flg, the results sizes...).
    void set(Integer Settings::*item, Integer value);
    // The saved pair of window tomarina<number>; refused for a window that keeps none.
    void set_position(int number, FormPosition position);
    // The width of results column 0..9, in twips; refused for another column.
    void set_column_width(int column, Integer twips);
    // An entry searched for by prefecture or airport goes first in that criterion's history; refused for
    // the criteria that keep none.
    void add_history(SearchType type, const QString& entry);
    // Registers a browser of that kind and path.
    void set_browser(const QString& kind, const QString& path);
    // Runs a look-up that may register a browser, as the start-up does. A look-up that fails midway keeps
    // what it changed, and that is told.
    void look_up_browser(const std::function<void(Settings&)>& lookup);

  signals:
    void changed();
    // The registered browser (inet_data1, inet_data2), which the link buttons follow.
    void browser_changed();

  private:
    // Makes the change on a copy, which replaces the values only when it differs: a change that throws
    // is refused with nothing changed.
    void change(const std::function<void(Settings&)>& edit);

    Settings values_;
};

} // namespace tomarina
