#pragma once

#include "shared/form.h"

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tomarina {

// The browser selection window: the user picks one of the two browsers and the disks are searched
// for its program, or declares that no browser is used.
class tomarina92 : public Form {
    Q_OBJECT
  public:
    explicit tomarina92(Forms& forms);
    ~tomarina92() override;

    void init_sec();
    void init_set() override { init_sec(); }
    void set_form1() override;

    void Option1_Click();
    // The guidance line, also said with the options and the search button.
    void set_guidance(const QString& text);
    void Option3_Click();
    void Command2_Click();
    // Searches CurrentPath (ending in "/") and every folder below it for browser_target.
    void RecurseTree(const QString& CurrentPath, int& hit_flg);

    QGroupBox* Frame1;
    QLabel* Label1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QLabel* Label2;
    QLineEdit* Text1;
    QPushButton* Command2;
    QPushButton* Command1;

    // The upper-case program name searched for; the full path once found.
    QString browser_target;

  protected:
    void form_unload() override;

  private:
    // True when the search must end: the window is gone or unloading, or the program is to end. alive is
    // looked at first, so a destroyed window is never touched.
    static bool halted(const std::shared_ptr<bool>& alive, const tomarina92* w) {
        return !*alive || w->stop_ || w->is_unloading() || w->forms_.end_requested();
    }

    // Puts back the option chosen before "未使用", or none.
    void undo_option3();

    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QRadioButton* chosen_ = nullptr;
    bool stop_ = false;
    bool searching_ = false;
};

// The guidance of the selection window.
inline const QString browser_guidance_open =
    QStringLiteral("インストール直後のためブラウザを選択してください。");
inline const QString browser_guidance_search =
    QStringLiteral("検索開始ボタンをクリックして下さい。\r\nブラウザの環境設定には少々時間がかかります。");

} // namespace tomarina
