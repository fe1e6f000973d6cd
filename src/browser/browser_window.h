#pragma once

#include "shared/form.h"

#include <QFutureWatcher>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tomarina {

// The browser selection window: the user picks one of the two browsers and the disks are searched
// for its program, or declares that no browser is used.
class BrowserWindow : public Form {
    Q_OBJECT
  public:
    explicit BrowserWindow(Forms& forms);
    ~BrowserWindow() override;

    void init_sec();
    void set_up() override { init_sec(); }
    void restore_position() override;

    void Option1_Click();
    // The guidance line, also said with the options and the search button.
    void set_guidance(const QString& text);
    void Option3_Click();
    // Starts the disk search for the chosen browser; it runs off the window's thread and the window
    // closes when it ends.
    void Command2_Click();

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
    void on_unload() override;
    // The program's end hides the window without unloading it: the search stops then too.
    void hideEvent(QHideEvent* event) override;

  private:
    // Stores what the search found, then closes the window.
    void search_ended(const QString& kind, const QString& bare);
    // Puts back the option chosen before "未使用", or none.
    void undo_option3();

    QRadioButton* chosen_ = nullptr;
    // The disk search; the file examined comes as its progress text, the path found as its result.
    QFutureWatcher<QString> search_;
};

// The guidance of the selection window.
inline const QString browser_guidance_open =
    QStringLiteral("インストール直後のためブラウザを選択してください。");
inline const QString browser_guidance_search =
    QStringLiteral("検索開始ボタンをクリックして下さい。\r\nブラウザの環境設定には少々時間がかかります。");
// What the window shows and says while its disk search runs, and what is said as it ends.
inline const QString browser_searching = QStringLiteral("検索中...");
inline const QString browser_registered = QStringLiteral("ブラウザを登録しました");
inline const QString browser_not_found = QStringLiteral("ブラウザが見つかりませんでした");

} // namespace tomarina
