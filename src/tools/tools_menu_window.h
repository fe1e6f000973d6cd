#pragma once

#include "shared/form.h"

class QPushButton;

namespace tomarina {

// The tools menu: environment settings, the About window, and "終了".
class ToolsMenuWindow : public Form {
    Q_OBJECT
  public:
    explicit ToolsMenuWindow(Forms& forms);

    QPushButton* Command1;
    QPushButton* Command3;
    QPushButton* Command4;

    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
};

} // namespace tomarina
