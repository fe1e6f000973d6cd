#pragma once

#include "shared/form.h"

class QPushButton;
class QFrame;

namespace tomarina {

// The main menu. Its load reads the settings and the whole directory; it is the only way out of the
// program.
class MainMenuWindow : public Form {
    Q_OBJECT
  public:
    explicit MainMenuWindow(Forms& forms);

    void on_load() override;
    void set_up() override;
    // Places the window and records its size, which every resize sets back.
    void restore_position() override;
    void close_window() override;
    // The region button follows the browser kind: usable only while a browser is set.

    // The loader steps, each on its own.
    void load_database();

    QFrame* menu_frame;
    QPushButton* search_button;
    QPushButton* region_button;
    QPushButton* tools_button;
    QPushButton* close_button;
    QPushButton* user_hotels_button;

    // The search conditions, region, tools menu and user hotels windows; the last opens only on a user
    // file that could be read.
    void open_search();
    void open_region();
    void open_tools();
    void open_user_hotels();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool ending_ = false;
    QSize fixed_size_;
};

// The main menu's caption: the title, 15 ideographic spaces and the help hint.
QString main_menu_caption();

// Shows the loaded main menu in front of the other windows, restored if it was minimized.
void bring_main_menu_to_front(Forms& forms);

} // namespace tomarina
