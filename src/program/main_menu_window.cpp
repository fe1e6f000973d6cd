#include "program/main_menu_window.h"

#include "browser/browser_lookup.h"
#include "browser/browser_window.h"
#include "data/steps.h"
#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_list_window.h"
#include "platform/nested_loop.h"
#include "program/program_texts.h"
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
    return app_title + QString(15, QChar(0x3000)) + program_texts::help_hint;
}

MainMenuWindow::MainMenuWindow(Forms& forms)
    : Form(forms, stored_names::main_menu, QStringLiteral("main_menu_window")) {
    setWindowTitle(main_menu_caption());
    menu_frame = add_control<QFrame>(this, "menu_frame", 60, 345, 6300, 855);
    menu_frame->setAccessibleName(program_texts::menu_name);

    auto button = [this](const char* name, const QString& caption, int left, int top, int width, int height) {
        auto* b = add_control<QPushButton>(menu_frame, name, left, top, width, height);
        b->setText(caption);
        b->setAutoDefault(true);
        return b;
    };
    // Created in tab order.
    search_button = button("search_button", program_texts::search_caption, 0, 0, 1575, 855);
    region_button = button("region_button", program_texts::region_caption, 1680, 0, 1575, 855);
    tools_button = button("tools_button", program_texts::tools_caption, 3360, 480, 1575, 375);
    close_button = button("close_button", program_texts::close_caption, 5040, 0, 1215, 855);
    user_hotels_button = button("user_hotels_button", program_texts::user_hotels_caption, 3360, 0, 1575, 375);
    setTabOrder(search_button, region_button);
    setTabOrder(region_button, tools_button);
    setTabOrder(tools_button, close_button);
    setTabOrder(close_button, user_hotels_button);

    connect(search_button, &QPushButton::clicked, this, &MainMenuWindow::open_search);
    connect(region_button, &QPushButton::clicked, this, &MainMenuWindow::open_region);
    connect(tools_button, &QPushButton::clicked, this, &MainMenuWindow::open_tools);
    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    connect(user_hotels_button, &QPushButton::clicked, this, &MainMenuWindow::open_user_hotels);

    setFixedSize(twips_to_px(6420), twips_to_px(1320));
    connect(&st_.settings_store, &SettingsStore::browser_changed, this, [this] {
        if (!is_unloading()) region_button->setEnabled(browser_set(st_.settings));
    });
    watch_esc();
}

void MainMenuWindow::on_load() {
    run_steps({
        {"open_database",
         [this] {
             if (!open_database(st_)) throw BadData("no database file");
         }},
        {"set_up", [this] { set_up(); }},
    });
}

void MainMenuWindow::set_up() {
    run_steps({
        {"settings", [this] { st_.settings_store.load(st_.full_path(st_.ini_file)); }},
        {"load_database", [this] { load_database(); }},
        {"restore_position", [this] { restore_position(); }},
        {"look_up_browser",
         [this] {
             if (browser_undetermined(st_.settings))
                 st_.settings_store.look_up_browser([this](Settings& s) { look_up_browser(s, pf_); });
         }},
        {"browser selection",
         [this] {
             if (browser_undetermined(st_.settings)) forms_.show<BrowserWindow>();
         }},
        {"region button",
         [this] {
             const QString kind = st_.settings.inet_data1;
             if (kind != u"1" && kind != u"2") region_button->setEnabled(false);
         }},
    });
}

void MainMenuWindow::load_database() {
    QPointer<ProgressWindow> progress;
    LoadHooks hooks;
    hooks.started = [&](int blocks) {
        progress = forms_.show<ProgressWindow>();
        progress->start(blocks, program_texts::loading_caption);
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

void MainMenuWindow::open_search() {
    forms_.show<SearchConditionsWindow>();
}
void MainMenuWindow::open_region() {
    forms_.show<RegionWindow>();
}
void MainMenuWindow::open_tools() {
    forms_.show<ToolsMenuWindow>();
}
void MainMenuWindow::open_user_hotels() {
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
