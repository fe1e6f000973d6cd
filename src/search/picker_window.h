#pragma once

#include "shared/form.h"

#include <array>
#include <functional>
#include <typeindex>

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
    // mode: a prefecture or an airport was chosen.
    virtual void picker_chosen(SearchType mode, const QString& name) = 0;

  protected:
    ~PickerOpener() = default;
};

// F4 or Alt+Down in a box the picker fills: the keys that open a drop-down list.
bool opens_picker(const QKeyEvent* event);

// Lets the user choose a prefecture or an airport, grouped by area, instead of typing it.
class PickerWindow : public Form {
    Q_OBJECT
  public:
    explicit PickerWindow(Forms& forms);

    // How a window of kind Opener shows the picker, for prefectures or airports. The chosen
    // name goes to the window of that kind open when the choice is made, which may be a new one if the
    // opener was closed and opened again. A picker open for another kind or mode is closed first, so
    // the name never goes to the wrong box.
    template <typename Opener> static PickerWindow* open(Forms& forms, SearchType mode) {
        return open_for(forms, typeid(Opener), mode, [&forms]() -> Target {
            Opener* w = forms.loaded<Opener>();
            return {w, w};
        });
    }

    // The set-up waits for the mode that open() hands over.
    void on_load() override {}
    void set_up() override;
    void restore_position() override;
    void set_list1(int indx);
    void set_start(const QString& input_text);

    void Command1_Click() { close_window(); }
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

    SearchType mode() const { return mode_; }
    // The window the name would go to now: the open window of the opener's kind, or null.
    Form* opener() const;

  private:
    struct Target {
        Form* window = nullptr;
        PickerOpener* opener = nullptr;
    };
    static PickerWindow* open_for(Forms& forms, std::type_index kind, SearchType mode,
                                  std::function<Target()> find_opener);
    void set_mode_texts();
    void confirm();

    SearchType mode_ = SearchType::prefecture;
    std::type_index opener_kind_ = typeid(void);
    std::function<Target()> find_opener_;
};

} // namespace tomarina
