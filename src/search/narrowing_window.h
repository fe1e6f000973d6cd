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
    void set_list1();
    void set_list2();
    // Esc and 了解: the chosen districts become the narrowing, then the results come back.
    void close_window() override;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click() { close_window(); }

    QGroupBox* Frame1;
    QListWidget* List1;
    QGroupBox* Frame2;
    QListWidget* List2;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command6;
    QPushButton* Command5;

  private:
    // Moves the chosen rows (or all) of one list to the end of the other.
    void move_between(QListWidget* from, QListWidget* to, bool all);
    void set_move_buttons();
    // Saves the position, shows the results again (their load runs the selection) and closes.
    void back_to_results(const QStringList& districts);
};

} // namespace tomarina
