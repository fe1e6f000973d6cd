#pragma once

#include "shared/form.h"

class QGroupBox;
class QListWidget;
class QPushButton;

namespace tomarina {

// Restricts the current search to some of its districts: the chosen ones become the narrowing and the
// results are shown again.
class NarrowingWindow : public Form {
    Q_OBJECT
  public:
    explicit NarrowingWindow(Forms& forms);

    void set_up() override;
    void fill_offered_list();
    void fill_chosen_list();
    // Esc and 了解: the chosen districts become the narrowing, then the results come back.
    void close_window() override;

    void choose();
    void choose_all();
    void unchoose();
    void unchoose_all();
    void cancel();

    QGroupBox* offered_frame;
    QListWidget* offered_list;
    QGroupBox* chosen_frame;
    QListWidget* chosen_list;
    QPushButton* choose_button;
    QPushButton* choose_all_button;
    QPushButton* unchoose_button;
    QPushButton* unchoose_all_button;
    QPushButton* ok_button;
    QPushButton* cancel_button;

  private:
    // Moves the chosen rows (or all) of one list to the end of the other.
    void move_between(QListWidget* from, QListWidget* to, bool all);
    void set_move_buttons();
    // Saves the position, shows the results again (their load runs the selection) and closes.
    void back_to_results(const QStringList& districts);
};

} // namespace tomarina
