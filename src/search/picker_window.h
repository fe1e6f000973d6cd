#pragma once

#include "shared/form.h"

#include <QPointer>
#include <array>

class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tomarina {

// A window that opens the picker. The picker hands it the chosen name; the window writes the name into
// its box for that mode and moves the focus on.
class PickerOpener {
  public:
    // mode: 1 a prefecture was chosen, 2 an airport.
    virtual void picker_chosen(Integer mode, const QString& name) = 0;

  protected:
    ~PickerOpener() = default;
};

// Lets the user choose a prefecture or an airport, grouped by area, instead of typing it.
class tomarina14 : public Form {
    Q_OBJECT
  public:
    explicit tomarina14(Forms& forms);

    // How an opener shows the picker: sets picker_caller (1 the search window, 2 the hotel edit window)
    // and search_type (1 prefecture, 2 airport), then shows the picker for opener. A picker already open
    // for another opener or mode is closed first, so the name never goes to the wrong box.
    template <typename Opener>
    static tomarina14* open(Forms& forms, Opener& opener, Integer caller, Integer mode) {
        return open_for(forms, opener, opener, caller, mode);
    }

    void init_set() override;
    void set_form1() override;
    void set_list1(int indx);
    void set_start();

    void Command1_Click() { end_proc(); }
    void Command3_Click();
    void List1_DblClick();

    QPlainTextEdit* Text1;
    QGroupBox* Frame1;
    QPushButton* Command4;
    QListWidget* List1;
    std::array<QRadioButton*, 11> Option{}; // Option[1]..Option[10]; Option[10] is the whole country
    QPushButton* Command3;
    QPushButton* Command2;
    QPushButton* Command1;

    Integer mode() const { return mode_; }
    // The opener the name goes to; null once it has closed.
    Form* opener() const;

  private:
    static tomarina14* open_for(Forms& forms, Form& opener, PickerOpener& target, Integer caller,
                                Integer mode);
    void set_mode_texts();
    void confirm();

    Integer mode_ = 1;
    QPointer<Form> opener_;
    PickerOpener* target_ = nullptr;
};

} // namespace tomarina
