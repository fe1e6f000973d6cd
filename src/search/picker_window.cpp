#include "search/picker_window.h"

#include "data/steps.h"
#include "search/list_rows.h"
#include "search/tab_stop_list.h"
#include "shared/selection.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tomarina {

namespace {

// The area index of option k: 1..9 for Option1..Option9, 0 for Option10.
int area_of_option(int k) {
    return k == 10 ? 0 : k;
}
int option_of_area(int indx) {
    return indx == 0 ? 10 : indx;
}

// Rows shorter than four characters take a second TAB: a stop a little under four full-width characters
// puts the counts of names up to seven characters in one column.
constexpr double picker_tab_stop = 3.75;

} // namespace

bool opens_picker(const QKeyEvent* event) {
    return event->key() == Qt::Key_F4 ||
           (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
}

PickerWindow::PickerWindow(Forms& forms)
    : Form(forms, stored_names::picker, QStringLiteral("picker_window")) {
    setFixedSize(twips_to_px(6000), twips_to_px(5340));

    Text1 = add_control<QPlainTextEdit>(this, "Text1", 120, 120, 5760, 540);
    Text1->setAccessibleName(QStringLiteral("案内"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Frame1 = add_control<QGroupBox>(this, "Frame1", 120, 780, 3480, 3900);
    Command4 = add_control<QPushButton>(Frame1, "Command4", 120, 300, 3240, 300);
    Command4->setFocusPolicy(Qt::NoFocus);
    List1 = add_control<QListWidget>(Frame1, "List1", 120, 600, 3240, 3180);
    set_tab_stops(List1, picker_tab_stop);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    // The whole country first, then the nine areas.
    for (int row = 0; row < 10; ++row) {
        const int k = row == 0 ? 10 : row;
        auto* o = add_control<QRadioButton>(this, QStringLiteral("Option%1").arg(k), 3780, 840 + row * 375,
                                            2100, 330);
        Option[std::size_t(k)] = o;
        connect(o, &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) try_step("set_list1", [&] { set_list1(area_of_option(k)); });
        });
    }

    Command3 = add_control<QPushButton>(this, "Command3", 1560, 4800, 1335, 420);
    Command3->setText(QStringLiteral("選択確定"));
    Command2 = add_control<QPushButton>(this, "Command2", 3000, 4800, 1335, 420);
    Command2->setText(QStringLiteral("取消"));
    Command1 = add_control<QPushButton>(this, "Command1", 4440, 4800, 1335, 420);
    Command1->setText(QStringLiteral("取消終了"));
    for (QPushButton* b : {Command3, Command2, Command1}) b->setAutoDefault(true);

    setTabOrder(List1, Option[10]);
    setTabOrder(Option[10], Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, Command1);

    connect(Command1, &QPushButton::clicked, this, &PickerWindow::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &PickerWindow::Command3_Click);
    enable_while_selected(List1, Command3);
    act_on_row(List1, [this] { List1_DblClick(); });

    watch_esc();
}

PickerWindow* PickerWindow::open_for(Forms& forms, std::type_index kind, SearchType mode,
                                     std::function<Target()> find_opener) {
    if (PickerWindow* open = forms.loaded<PickerWindow>()) {
        if (open->opener_kind_ == kind && open->mode_ == mode) return forms.show<PickerWindow>();
        open->close_window();
    }
    PickerWindow* w = forms.load<PickerWindow>();
    if (!w) return nullptr;
    w->mode_ = mode;
    w->opener_kind_ = kind;
    w->find_opener_ = std::move(find_opener);
    w->set_up();
    // The set-up may have unloaded the window again.
    return forms.loaded<PickerWindow>() ? forms.show<PickerWindow>() : nullptr;
}

Form* PickerWindow::opener() const {
    if (!find_opener_) return nullptr;
    Form* w = find_opener_().window;
    return w && !w->is_unloading() ? w : nullptr;
}

void PickerWindow::set_up() {
    const Integer flg =
        mode_ == SearchType::prefecture ? st_.settings.control1_flg : st_.settings.control2_flg;
    run_steps({
        {"set_form1", [this] { restore_position(); }},
        {"options enabled",
         [this] {
             for (int k = 1; k <= 10; ++k) Option[std::size_t(k)]->setEnabled(true);
         }},
        {"area option",
         [&] {
             if (flg < 0 || flg > 9) return; // no option, an empty list
             QRadioButton* o = Option[std::size_t(option_of_area(flg))];
             if (o->isChecked())
                 set_list1(flg);
             else
                 o->setChecked(true);
         }},
        {"set_mode_texts", [this] { set_mode_texts(); }},
        {"buttons",
         [this] {
             Command2->setEnabled(false);
             Command3->setEnabled(false);
         }},
        {"List1 setFocus", [this] { List1->setFocus(); }},
    });
}

void PickerWindow::restore_position() {
    run_steps({
        {"option captions",
         [this] {
             for (int k = 1; k <= 10; ++k)
                 Option[std::size_t(k)]->setText(picker_option_caption(st_.db, mode_, area_of_option(k)));
         }},
        {"Form set_form1", [this] { Form::restore_position(); }},
    });
}

void PickerWindow::set_mode_texts() {
    const PickerTexts texts = picker_texts(mode_);
    Frame1->setTitle(texts.frame);
    Command4->setText(texts.heading);
    List1->setAccessibleName(texts.heading);
    Text1->setPlainText(texts.guidance);
    // The guidance never takes the focus: the window says it as it opens, the list after its name.
    setAccessibleDescription(texts.guidance);
    List1->setAccessibleDescription(texts.guidance);
    Text1->setEnabled(false);
}

void PickerWindow::set_list1(int indx) {
    List1->clear();
    List1->addItems(picker_rows(st_.db, mode_, indx));
    Command3->setEnabled(false);
    if (indx >= 0 && indx <= 9)
        st_.settings_store.set(mode_ == SearchType::prefecture ? &Settings::control1_flg
                                                               : &Settings::control2_flg,
                               Integer(indx));
    set_mode_texts();
}

void PickerWindow::set_start(const QString& input_text) {
    st_.settings_store.add_history(mode_, input_text);
}

void PickerWindow::Command3_Click() {
    confirm();
}

void PickerWindow::List1_DblClick() {
    confirm();
}

void PickerWindow::confirm() {
    const int first = first_selected_row(List1);
    if (first < 0) return; // nothing chosen: the opener's box keeps its text
    // With no window of the opener's kind open, the pick is written nowhere, not even in the history.
    const Target target = find_opener_ ? find_opener_() : Target{};
    if (target.window && target.opener && !target.window->is_unloading()) {
        const QString input_text = picker_name(List1->item(first)->text());
        try_step("set_start", [&] { set_start(input_text); });
        try_step("picker_chosen", [&] { target.opener->picker_chosen(mode_, input_text); });
        target.window->raise();
        target.window->activateWindow();
    }
    unload();
}

} // namespace tomarina
