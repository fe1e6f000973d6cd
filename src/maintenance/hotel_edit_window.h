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
    void set_up() override { set_up_window(); }
    void set_up_window();
    void restore_position() override;
    // The prefecture and airport boxes: the hotel's own, or for a new hotel the latest search entries.
    void fill_prefecture();
    void fill_airport();
    // "" when the field holds a known name, "err" otherwise.
    QString check_prefecture();
    QString check_airport();

    // 更新: the hotel stored as the window's mode says, a new one or the changed one.
    void store_hotel();
    // 取消終了: back to the list, nothing stored.
    void cancel_to_list();
    // 追加更新: the fields stored as one more hotel, the one opened left as it was.
    void store_as_new_hotel();
    // The "?" buttons beside the prefecture and the airport.
    void pick_prefecture();
    void pick_airport();
    // Focus, Enter and double click in field box <field>: its prompt, its check, its picker.
    void prompt_for_field(int field);
    void accept_field(int field, KeyAscii key);
    void open_field_picker(int field);

    // The picker's choice: a prefecture into prefecture_box, an airport into airport_box; the focus moves on.
    void picker_chosen(SearchType mode, const QString& name) override;

    // The box of field 1..9, in the order of the user file; null outside.
    QLineEdit* field_box(int field) const;
    // The nine fields as typed, and back after the checks adjusted them.
    EditFields fields() const;
    void set_fields(const EditFields& f);

    QGroupBox* hotel_frame;
    QLabel* prefecture_label;
    QLineEdit* prefecture_box;
    QPushButton* prefecture_list_button;
    QLabel* airport_label;
    QLineEdit* airport_box;
    QPushButton* airport_list_button;
    QLabel* district_label;
    QLineEdit* district_box;
    QLabel* hotel_name_label;
    QLineEdit* hotel_name_box;
    QLabel* phone_label;
    QLineEdit* phone_box;
    QLabel* rooms_label;
    QLineEdit* rooms_box;
    QLabel* access_label;
    QLineEdit* access_box;
    QLabel* rate_label;
    QLineEdit* rate_box;
    QLabel* remark_label;
    QLineEdit* remark_box;
    QLabel* message_label;
    QPlainTextEdit* message_area;
    QPushButton* update_button;
    QPushButton* cancel_button;
    QPushButton* add_update_button;
    QLabel* mode_label;

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
