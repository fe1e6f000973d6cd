#include "tools/settings_window.h"

#include "browser/browser_lookup.h"
#include "browser/browser_window.h"
#include "data/steps.h"
#include "tools/search_limit.h"
#include "tools/tools_texts.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

namespace tomarina {

namespace {
// Places on a tab are measured from the tab control's corner, above its row of tabs (300 twips high).
template <typename T> T* on_tab(QWidget* page, const char* name, int left, int top, int width, int height) {
    return add_control<T>(page, name, left, top - 300, width, height);
}
} // namespace

SettingsWindow::SettingsWindow(Forms& forms)
    : Form(forms, stored_names::settings, QStringLiteral("settings_window")) {
    setFixedSize(twips_to_px(6330), twips_to_px(4980));
    settings_frame = add_control<QGroupBox>(this, "settings_frame", 60, 120, 6255, 4815);
    settings_frame->setTitle(tools_texts::settings_caption);

    tabs = add_control<QTabWidget>(settings_frame, "tabs", 240, 360, 5775, 3855);
    tabs->setAccessibleName(tools_texts::settings_caption);
    auto* browser_tab = new QWidget;
    browser_tab->setObjectName(QStringLiteral("browser_tab"));
    auto* common_tab = new QWidget;
    common_tab->setObjectName(QStringLiteral("common_tab"));
    tabs->addTab(browser_tab, tools_texts::browser_tab_caption);
    tabs->addTab(common_tab, tools_texts::common_tab_caption);
    // The tabs' pages and the stack that holds them, named for screen readers like their tabs.
    browser_tab->setAccessibleName(tabs->tabText(0));
    common_tab->setAccessibleName(tabs->tabText(1));
    if (auto* pages = tabs->findChild<QStackedWidget*>()) pages->setAccessibleName(tabs->accessibleName());

    browser_again_label = on_tab<QLabel>(browser_tab, "browser_again_label", 240, 360, 4815, 375);
    browser_again_label->setText(tools_texts::browser_again_note);
    browser_again_button = on_tab<QPushButton>(browser_tab, "browser_again_button", 240, 840, 1815, 375);
    browser_again_button->setText(tools_texts::browser_again_caption);
    browser_again_button->setAutoDefault(true);
    // The lines beside a control say what it does: said with the control.
    browser_again_button->setAccessibleDescription(browser_again_label->text());

    limit_label = on_tab<QLabel>(common_tab, "limit_label", 360, 480, 1215, 375);
    limit_label->setText(tools_texts::limit_caption);
    limit_box = on_tab<QLineEdit>(common_tab, "limit_box", 1560, 360, 1095, 390);
    QFont big = limit_box->font();
    big.setPointSize(12);
    limit_box->setFont(big);
    limit_label->setBuddy(limit_box);
    limit_box->setAccessibleName(limit_label->text());
    limit_note_label = on_tab<QLabel>(common_tab, "limit_note_label", 360, 960, 4575, 495);
    // Two lines broken after the comma: left to the wrap, the break falls inside a word such as 「検索」.
    limit_note_label->setText(tools_texts::limit_note);
    limit_note_label->setWordWrap(true);
    limit_box->setAccessibleDescription(QString(limit_note_label->text()).replace(u'\n', QString()));
    for (QLabel* l : {limit_label, browser_again_label, limit_note_label})
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detail_frame = on_tab<QGroupBox>(common_tab, "detail_frame", 240, 1680, 4935, 855);
    detail_frame->setTitle(tools_texts::detail_caption);
    show_detail_option = add_control<QRadioButton>(detail_frame, "show_detail_option", 240, 360, 1215, 255);
    show_detail_option->setText(tools_texts::show_detail_caption);
    hide_detail_option = add_control<QRadioButton>(detail_frame, "hide_detail_option", 1680, 360, 1695, 255);
    hide_detail_option->setText(tools_texts::hide_detail_caption);

    close_button = add_control<QPushButton>(settings_frame, "close_button", 5040, 4320, 975, 375);
    close_button->setText(tools_texts::close_caption);
    close_button->setAutoDefault(true);

    tabs->setCurrentWidget(common_tab);
    setTabOrder(tabs, limit_box);
    setTabOrder(limit_box, show_detail_option);
    setTabOrder(show_detail_option, hide_detail_option);
    setTabOrder(hide_detail_option, close_button);

    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    connect(browser_again_button, &QPushButton::clicked, this, &SettingsWindow::find_browser_again);
    watch_esc();
}

void SettingsWindow::restore_position() {
    Form::restore_position();
    try_step("limit_box setText", [this] { limit_box->setText(QString::number(st_.settings.max_kensuu)); });
    try_step("sv_pop options", [this] {
        (st_.settings.sv_pop == 1 ? show_detail_option : hide_detail_option)->setChecked(true);
    });
    try_step("input method", [this] { pf_.set_ime(limit_box, false); });
}

void SettingsWindow::close_window() {
    save_position();
    try_step("sv_pop",
             [this] { st_.settings_store.set(&Settings::sv_pop, show_detail_option->isChecked() ? 1 : 0); });
    unload();
}

void SettingsWindow::find_browser_again() {
    run_steps({
        // The browser forgotten and looked up again; the link buttons follow what it finds.
        {"look_up_browser",
         [this] {
             st_.settings_store.look_up_browser([this](Settings& s) {
                 s.inet_data1.clear();
                 look_up_browser(s, pf_);
             });
         }},
        {"browser selection",
         [this] {
             if (browser_undetermined(st_.settings)) forms_.show<BrowserWindow>();
         }},
    });
}

void SettingsWindow::take_typed_limit(KeyAscii) {
    if (const auto limit = read_search_limit(limit_box->text())) {
        st_.settings_store.set(&Settings::max_kensuu, *limit);
        close_button->setFocus();
    } else {
        limit_box->setFocus();
    }
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == limit_box) {
        if (event->type() == QEvent::FocusIn) {
            // After the box's own focus handling, which would place the cursor on a mouse click.
            QTimer::singleShot(0, limit_box, [box = limit_box] { box->selectAll(); });
        } else if (event->type() == QEvent::KeyPress) {
            if (const auto enter = enter_key(static_cast<QKeyEvent*>(event))) {
                take_typed_limit(*enter);
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
