#pragma once

#include "search/picker_window.h"
#include "shared/form.h"
#include "shared/selection.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tomarina {

// Where the user states a search: one of six criteria and a search text.
class SearchConditionsWindow : public Form, public PickerOpener {
    Q_OBJECT
  public:
    explicit SearchConditionsWindow(Forms& forms);

    void set_up() override { set_up_window(); }
    void set_up_window();
    void restore_position() override;
    // The entry, guidance line and picker button follow the option just chosen.
    void follow_selected_option();
    void fill_key_from_history();
    // The entry as accepted for the selected option (the entry box then shows it), or nothing. The
    // running search is not touched: only 検索開始 starts a new one.
    std::optional<AcceptedEntry> check_key();
    // Records the entry in the history of its criterion.
    void record_history(SearchType search_type);

    void search();
    // The ？ button and F4: the button gives way to the picker.
    void pick_from_list();
    // Enter in the entry: checks it and moves on to 検索開始.
    void take_typed_key(KeyAscii key);
    // The picker's choice: into the entry, and on to 検索開始.
    void picker_chosen(SearchType mode, const QString& name) override;

    QGroupBox* criteria_frame;
    QLineEdit* key_box;
    QPushButton* picker_button;
    QLineEdit* guidance_box;
    QGroupBox* method_frame;
    QRadioButton* prefecture_option;
    QRadioButton* airport_option;
    QRadioButton* hotel_name_option;
    QRadioButton* district_option;
    QRadioButton* station_option;
    QRadioButton* keyword_option;
    QPushButton* search_button;
    QPushButton* close_button;

    // The criterion of the selected option.
    SearchType selected_option() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void open_picker();
    // Shows the refusal of the entry and says it, as often as it comes.
    void refuse_entry();
};

} // namespace tomarina
