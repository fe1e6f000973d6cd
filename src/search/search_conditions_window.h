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

    void set_up() override { init_sec(); }
    void init_sec();
    void restore_position() override;
    void set_label1();
    void set_text1();
    // The entry as accepted for the selected option (the entry box then shows it), or nothing. The
    // running search is not touched: only 検索開始 starts a new one.
    std::optional<AcceptedEntry> check_text1();
    // Records the entry in the history of its criterion.
    void set_start(SearchType search_type);

    void Command1_Click();
    void Command2_Click() { close_window(); }
    void Command3_Click();
    void Text1_KeyPress(KeyAscii key);
    void Text1_DblClick();
    // The picker's choice: into the entry, and on to 検索開始.
    void picker_chosen(SearchType mode, const QString& name) override;

    QGroupBox* Frame1;
    QLineEdit* Text1;
    QPushButton* Command3;
    QLineEdit* Text2;
    QGroupBox* Frame2;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QRadioButton* Option5;
    QRadioButton* Option6;
    QPushButton* Command1;
    QPushButton* Command2;

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
