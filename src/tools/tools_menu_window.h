#pragma once

#include "shared/form.h"

class QPushButton;

namespace tomarina {

// The tools menu: environment settings, the About window, and "終了".
class ToolsMenuWindow : public Form {
    Q_OBJECT
  public:
    explicit ToolsMenuWindow(Forms& forms);

    QPushButton* settings_button;
    QPushButton* about_button;
    QPushButton* close_button;

    void open_settings();
    void open_about();
};

} // namespace tomarina
