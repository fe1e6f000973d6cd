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
    void fill_name_list(int area);
    void record_history(const QString& input_text);

    // 選択確定, a double click or Enter on a row: the chosen name goes to the opener, and the picker closes.
    void confirm();

    QPlainTextEdit* guidance_box;
    QGroupBox* names_frame;
    QPushButton* heading_button;
    QListWidget* name_list;
    // The options of the areas 1..9 at [1]..[9], and of the whole country at [10].
    std::array<QRadioButton*, 11> area_options{};
    QPushButton* confirm_button;
    QPushButton* undo_button;
    QPushButton* close_button;

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

    SearchType mode_ = SearchType::prefecture;
    std::type_index opener_kind_ = typeid(void);
    std::function<Target()> find_opener_;
};

} // namespace tomarina
