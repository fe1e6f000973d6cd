#include "tools/settings_window.h"

#include "browser/browser_lookup.h"
#include "browser/browser_window.h"
#include "data/steps.h"
#include "tools/search_limit.h"

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
    Frame1 = add_control<QGroupBox>(this, "Frame1", 60, 120, 6255, 4815);
    Frame1->setTitle(QStringLiteral("動作環境の登録"));

    SSTab1 = add_control<QTabWidget>(Frame1, "SSTab1", 240, 360, 5775, 3855);
    SSTab1->setAccessibleName(QStringLiteral("動作環境の登録"));
    auto* browser_tab = new QWidget;
    browser_tab->setObjectName(QStringLiteral("TabBrowser"));
    auto* common_tab = new QWidget;
    common_tab->setObjectName(QStringLiteral("TabCommon"));
    SSTab1->addTab(browser_tab, QStringLiteral("ブラウザ登録"));
    SSTab1->addTab(common_tab, QStringLiteral("共通"));
    // The tabs' pages and the stack that holds them, named for screen readers like their tabs.
    browser_tab->setAccessibleName(SSTab1->tabText(0));
    common_tab->setAccessibleName(SSTab1->tabText(1));
    if (auto* pages = SSTab1->findChild<QStackedWidget*>())
        pages->setAccessibleName(SSTab1->accessibleName());

    Label2 = on_tab<QLabel>(browser_tab, "Label2", 240, 360, 4815, 375);
    Label2->setText(QStringLiteral("ブラウザ情報を再更新する場合、クリックしてください。"));
    Command2 = on_tab<QPushButton>(browser_tab, "Command2", 240, 840, 1815, 375);
    Command2->setText(QStringLiteral("ブラウザの再登録"));
    Command2->setAutoDefault(true);
    // The lines beside a control say what it does: said with the control.
    Command2->setAccessibleDescription(Label2->text());

    Label1 = on_tab<QLabel>(common_tab, "Label1", 360, 480, 1215, 375);
    Label1->setText(QStringLiteral("検索上限件数"));
    Text1 = on_tab<QLineEdit>(common_tab, "Text1", 1560, 360, 1095, 390);
    QFont big = Text1->font();
    big.setPointSize(12);
    Text1->setFont(big);
    Label1->setBuddy(Text1);
    Text1->setAccessibleName(Label1->text());
    Label3 = on_tab<QLabel>(common_tab, "Label3", 360, 960, 4575, 495);
    // Two lines broken after the comma: left to the wrap, the break falls inside a word such as 「検索」.
    Label3->setText(
        QStringLiteral("検索件数がこの上限件数を超えた場合、\n検索を打ち切り、検索結果を表示します。"));
    Label3->setWordWrap(true);
    Text1->setAccessibleDescription(QString(Label3->text()).replace(u'\n', QString()));
    for (QLabel* l : {Label1, Label2, Label3}) l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Frame2 = on_tab<QGroupBox>(common_tab, "Frame2", 240, 1680, 4935, 855);
    Frame2->setTitle(QStringLiteral("ホテル詳細表示"));
    Option1 = add_control<QRadioButton>(Frame2, "Option1", 240, 360, 1215, 255);
    Option1->setText(QStringLiteral("表示する"));
    Option2 = add_control<QRadioButton>(Frame2, "Option2", 1680, 360, 1695, 255);
    Option2->setText(QStringLiteral("表示しない"));

    Command1 = add_control<QPushButton>(Frame1, "Command1", 5040, 4320, 975, 375);
    Command1->setText(QStringLiteral("終了"));
    Command1->setAutoDefault(true);

    SSTab1->setCurrentWidget(common_tab);
    setTabOrder(SSTab1, Text1);
    setTabOrder(Text1, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command1);

    connect(Command1, &QPushButton::clicked, this, &SettingsWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SettingsWindow::Command2_Click);
    watch_esc();
}

void SettingsWindow::restore_position() {
    Form::restore_position();
    try_step("Text1 setText", [this] { Text1->setText(QString::number(st_.settings.max_kensuu)); });
    try_step("sv_pop options", [this] { (st_.settings.sv_pop == 1 ? Option1 : Option2)->setChecked(true); });
    try_step("input method", [this] { pf_.set_ime(Text1, false); });
}

void SettingsWindow::close_window() {
    save_position();
    try_step("sv_pop", [this] { st_.settings_store.set(&Settings::sv_pop, Option1->isChecked() ? 1 : 0); });
    unload();
}

void SettingsWindow::Command1_Click() {
    close_window();
}

void SettingsWindow::Command2_Click() {
    run_steps({
        // The browser forgotten and looked up again; the link buttons follow what it finds.
        {"StartSysInfo",
         [this] {
             st_.settings_store.look_up_browser([this](Settings& s) {
                 s.inet_data1.clear();
                 StartSysInfo(s, pf_);
             });
         }},
        {"browser selection",
         [this] {
             if (browser_undetermined(st_.settings)) forms_.show<BrowserWindow>();
         }},
    });
}

void SettingsWindow::Text1_KeyPress(KeyAscii) {
    if (const auto limit = read_search_limit(Text1->text())) {
        st_.settings_store.set(&Settings::max_kensuu, *limit);
        Command1->setFocus();
    } else {
        Text1->setFocus();
    }
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1) {
        if (event->type() == QEvent::FocusIn) {
            // After the box's own focus handling, which would place the cursor on a mouse click.
            QTimer::singleShot(0, Text1, [box = Text1] { box->selectAll(); });
        } else if (event->type() == QEvent::KeyPress) {
            if (const auto enter = enter_key(static_cast<QKeyEvent*>(event))) {
                Text1_KeyPress(*enter);
                return true;
            }
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
