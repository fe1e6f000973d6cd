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

    void set_up_window();
    void set_up() override { set_up_window(); }
    void restore_position() override;

    // A browser chosen: the search may start.
    void choose_browser();
    // The guidance line, also said with the options and the search button.
    void set_guidance(const QString& text);
    // "未使用" chosen: asks first, then stores that no browser is used and closes.
    void choose_no_browser();
    // Starts the disk search for the chosen browser; it runs off the window's thread and the window
    // closes when it ends.
    void search_disks();

    QGroupBox* choice_frame;
    QLabel* guidance_label;
    QRadioButton* explorer_option;
    QRadioButton* netscape_option;
    QRadioButton* no_browser_option;
    QLabel* status_label;
    QLineEdit* file_box;
    QPushButton* search_button;
    QPushButton* close_button;

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
    void undo_no_browser_choice();

    QRadioButton* chosen_ = nullptr;
    // The disk search; the file examined comes as its progress text, the path found as its result.
    QFutureWatcher<QString> search_;
};

} // namespace tomarina
