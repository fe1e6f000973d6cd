#pragma once

#include "maintenance/user_maintenance.h"
#include "search/picker_window.h"
#include "shared/form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tomarina {

// What the hotel edit window opens for: a new hotel or a change of one.
enum class EditMode { none, add, upd };

// The window's task, given as it opens: a new hotel, or user hotel user_no.
struct EditTarget {
    EditMode mode = EditMode::none;
    Integer user_no = 0;
    static EditTarget new_hotel() { return {EditMode::add, 0}; }
    static EditTarget hotel(Integer user_no) { return {EditMode::upd, user_no}; }
};

// One user hotel typed in, as a new hotel (EditMode::add) or as a change to one (EditMode::upd).
class HotelEditWindow : public Form, public PickerOpener {
    Q_OBJECT
  public:
    explicit HotelEditWindow(Forms& forms, EditTarget target = {});

    const EditTarget& target() const { return target_; }

    void on_load() override;
    void set_up() override { init_sec(); }
    void init_sec();
    void restore_position() override;
    void set_text1();
    void set_text2();
    // "" when the field holds a known name, "err" otherwise.
    QString check_text1();
    QString check_text2();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    // Focus, Enter and double click in field Text<field>.
    void Text_GotFocus(int field);
    void Text_KeyPress(int field, KeyAscii key);
    void Text_DblClick(int field);

    // The picker's choice: mode 1 a prefecture into Text1, 2 an airport into Text2; the focus moves on.
    void picker_chosen(SearchType mode, const QString& name) override;

    // Text<field>, 1..9.
    QLineEdit* text(int field) const;
    // The nine fields as typed, and back after the checks adjusted them.
    EditFields fields() const;
    void set_fields(const EditFields& f);

    QGroupBox* Frame1;
    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* Command4;
    QLabel* Label2;
    QLineEdit* Text2;
    QPushButton* Command5;
    QLabel* Label3;
    QLineEdit* Text3;
    QLabel* Label4;
    QLineEdit* Text4;
    QLabel* Label5;
    QLineEdit* Text5;
    QLabel* Label6;
    QLineEdit* Text6;
    QLabel* Label7;
    QLineEdit* Text7;
    QLabel* Label8;
    QLineEdit* Text8;
    QLabel* Label9;
    QLineEdit* Text9;
    QLabel* Label10;
    QPlainTextEdit* Text10;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QLabel* Label11;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The store buttons: checks, the capacity, the confirmation, the store, then the list again.
    void store(StoreButton button);
    // A refusal: its message in the message area, the focus on the field, the message kept there.
    void refuse(int field, const QString& message);
    // Every field described by its prompt again, and no refusal said any more: the refusal is mended.
    void name_fields();
    // Says the field's name and its value, which the program has just written.
    void tell_value(int field);
    bool refusal_said_ = false;
    void show_message(const QString& text);
    void open_picker(SearchType mode);
    int field_of(QObject* o) const;

    const EditTarget target_;
    // The field whose next focus keeps the refusal message instead of its prompt.
    int keep_message_for_ = 0;
    // The fields as the window was filled, to tell what the user changed.
    EditFields given_;
};

} // namespace tomarina
