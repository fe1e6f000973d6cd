#include "program/main_menu_window.h"

#include "browser/browser_lookup.h"
#include "browser/browser_window.h"
#include "data/steps.h"
#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_list_window.h"
#include "platform/nested_loop.h"
#include "search/region_window.h"
#include "search/search_conditions_window.h"
#include "shared/program_folder.h"
#include "shared/saves.h"
#include "tools/progress_window.h"
#include "tools/tools_menu_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>

namespace tomarina {

QString main_menu_caption() {
    return app_title + QString(15, QChar(0x3000)) + QStringLiteral("ヘルプ：Ｆ１");
}

MainMenuWindow::MainMenuWindow(Forms& forms)
    : Form(forms, stored_names::main_menu, QStringLiteral("main_menu_window")) {
    setWindowTitle(main_menu_caption());
    Frame1 = add_control<QFrame>(this, "Frame1", 60, 345, 6300, 855);
    Frame1->setAccessibleName(QStringLiteral("メインメニュー"));

    auto button = [this](const char* name, const QString& caption, int left, int top, int width, int height) {
        auto* b = add_control<QPushButton>(Frame1, name, left, top, width, height);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    // Created in tab order.
    Command1 = button("Command1", QStringLiteral("ホテル検索＆予約"), 0, 0, 1575, 855);
    Command2 = button("Command2", QStringLiteral("地域指定で予約"), 1680, 0, 1575, 855);
    Command3 = button("Command3", QStringLiteral("保　　守"), 3360, 480, 1575, 375);
    Command4 = button("Command4", QStringLiteral("終了"), 5040, 0, 1215, 855);
    Command5 = button("Command5", QStringLiteral("ホテル登録保守"), 3360, 0, 1575, 375);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);

    connect(Command1, &QPushButton::clicked, this, &MainMenuWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MainMenuWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MainMenuWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MainMenuWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MainMenuWindow::Command5_Click);

    setFixedSize(twips_to_px(6420), twips_to_px(1320));
    connect(&st_.browser, &BrowserRegistration::changed, this, [this] {
        if (!is_unloading()) Command2->setEnabled(browser_set(st_.settings));
    });
    watch_esc();
}

void MainMenuWindow::on_load() {
    run_steps({
        {"open_database",
         [this] {
             if (!open_database(st_)) throw BadData("no database file");
         }},
        {"init_set", [this] { set_up(); }},
    });
}

void MainMenuWindow::set_up() {
    run_steps({
        {"settings defaults",
         [this] {
             st_.settings.max_kensuu = 1000;
             st_.settings.sv_pop = 1;
         }},
        {"read_settings_file", [this] { read_settings_file(st_.full_path(st_.ini_file), st_.settings); }},
        {"apply_defaults", [this] { st_.settings.apply_defaults(); }},
        {"load_database", [this] { load_database(); }},
        {"set_form1", [this] { restore_position(); }},
        {"StartSysInfo",
         [this] {
             if (browser_undetermined(st_.settings)) StartSysInfo(st_.settings, pf_);
         }},
        {"browser selection",
         [this] {
             if (browser_undetermined(st_.settings)) forms_.show<BrowserWindow>();
         }},
        {"region button",
         [this] {
             const QString kind = st_.settings.inet_data1;
             if (kind != u"1" && kind != u"2") Command2->setEnabled(false);
         }},
    });
}

void MainMenuWindow::load_database() {
    QPointer<ProgressWindow> progress;
    LoadHooks hooks;
    hooks.started = [&](int blocks) {
        progress = forms_.show<ProgressWindow>();
        progress->start(blocks, QStringLiteral("ホテルデータの読み込み"));
        progress->step_to(0);
    };
    hooks.progress = [&progress](int block) {
        if (progress && !progress->is_unloading()) progress->step_to(block);
    };
    hooks.finished = [&] {
        if (auto* p = forms_.loaded<ProgressWindow>()) p->unload();
        progress = nullptr;
    };
    tomarina::load_database(st_, hooks);
}

void MainMenuWindow::restore_position() {
    Form::restore_position();
    fixed_size_ = size();
}

void MainMenuWindow::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    // Window managers may ignore the size hints; the menu's size is fixed all the same.
    if (fixed_size_.isValid() && !isMinimized() && size() != fixed_size_) resize(fixed_size_);
}

void MainMenuWindow::close_window() {
    if (ending_) return;
    if (NestedLoop::running()) {
        // The code around the loop still works on its windows: the end comes once it has returned,
        // with the usual saves, and only once however often it is asked for.
        if (!forms_.end_requested()) {
            forms_.note_end_request();
            NestedLoop::after(this, [this] { close_window(); });
        }
        return;
    }
    ending_ = true;
    pf_.note_program_end();
    run_steps({
        {"save_position", [this] { save_position(); }},
        // The list writes the user's hotels as it closes; ending the program skips that.
        {"write user hotels",
         [this] {
             if (auto* list = forms_.loaded<MaintenanceListWindow>()) list->write_on_end();
         }},
        {"save_ini_file", [this] { save_ini_file(st_, pf_, this); }},
        {"close database", [this] { st_.directory.close_file(); }},
        {"unload", [this] { unload(); }},
        {"end_program", [this] { forms_.end_program(); }},
    });
}

void MainMenuWindow::closeEvent(QCloseEvent* event) {
    // The close box ends the program like "終了".
    event->ignore();
    close_window();
}

void MainMenuWindow::Command1_Click() {
    forms_.show<SearchConditionsWindow>();
}
void MainMenuWindow::Command2_Click() {
    forms_.show<RegionWindow>();
}
void MainMenuWindow::Command3_Click() {
    forms_.show<ToolsMenuWindow>();
}
void MainMenuWindow::Command4_Click() {
    close_window();
}
void MainMenuWindow::Command5_Click() {
    // While a hotel is being edited the list stays closed: a deletion there would move the hotel.
    if (forms_.loaded<HotelEditWindow>()) {
        forms_.show<HotelEditWindow>();
        return;
    }
    // A user file that could not be read is never written over, so the list does not open on it.
    if (!forms_.loaded<MaintenanceListWindow>() && !user_file_ready(st_, pf_, this)) return;
    forms_.show<MaintenanceListWindow>();
}

void bring_main_menu_to_front(Forms& forms) {
    auto* menu = forms.loaded<MainMenuWindow>();
    if (!menu) return;
    menu->setWindowState(menu->windowState() & ~Qt::WindowMinimized);
    menu->show();
    menu->raise();
    menu->activateWindow();
}

} // namespace tomarina
