#include "search/picker_window.h"

#include "data/steps.h"
#include "search/list_rows.h"
#include "search/search_texts.h"
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

// The area index of option k: 1..9 for options 1..9, 0 for option 10.
int area_of_option(int k) {
    return k == 10 ? 0 : k;
}
int option_of_area(int area) {
    return area == 0 ? 10 : area;
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

    guidance_box = add_control<QPlainTextEdit>(this, "guidance_box", 120, 120, 5760, 540);
    guidance_box->setAccessibleName(search_texts::guidance_name);
    guidance_box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    names_frame = add_control<QGroupBox>(this, "names_frame", 120, 780, 3480, 3900);
    heading_button = add_control<QPushButton>(names_frame, "heading_button", 120, 300, 3240, 300);
    heading_button->setFocusPolicy(Qt::NoFocus);
    name_list = add_control<QListWidget>(names_frame, "name_list", 120, 600, 3240, 3180);
    set_tab_stops(name_list, picker_tab_stop);
    name_list->setSelectionMode(QAbstractItemView::SingleSelection);

    // The whole country first, then the nine areas.
    for (int row = 0; row < 10; ++row) {
        const int k = row == 0 ? 10 : row;
        auto* o = add_control<QRadioButton>(this, QStringLiteral("area_option_%1").arg(k), 3780,
                                            840 + row * 375, 2100, 330);
        area_options[std::size_t(k)] = o;
        connect(o, &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) try_step("fill_name_list", [&] { fill_name_list(area_of_option(k)); });
        });
    }

    confirm_button = add_control<QPushButton>(this, "confirm_button", 1560, 4800, 1335, 420);
    confirm_button->setText(search_texts::confirm_caption);
    undo_button = add_control<QPushButton>(this, "undo_button", 3000, 4800, 1335, 420);
    undo_button->setText(search_texts::undo_caption);
    close_button = add_control<QPushButton>(this, "close_button", 4440, 4800, 1335, 420);
    close_button->setText(search_texts::cancel_and_close_caption);
    for (QPushButton* b : {confirm_button, undo_button, close_button}) b->setAutoDefault(true);

    setTabOrder(name_list, area_options[10]);
    setTabOrder(area_options[10], confirm_button);
    setTabOrder(confirm_button, undo_button);
    setTabOrder(undo_button, close_button);

    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    connect(confirm_button, &QPushButton::clicked, this, &PickerWindow::confirm);
    enable_while_selected(name_list, confirm_button);
    act_on_row(name_list, [this] { confirm(); });

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
        {"restore_position", [this] { restore_position(); }},
        {"options enabled",
         [this] {
             for (int k = 1; k <= 10; ++k) area_options[std::size_t(k)]->setEnabled(true);
         }},
        {"area option",
         [&] {
             if (flg < 0 || flg > 9) return; // no option, an empty list
             QRadioButton* o = area_options[std::size_t(option_of_area(flg))];
             if (o->isChecked())
                 fill_name_list(flg);
             else
                 o->setChecked(true);
         }},
        {"set_mode_texts", [this] { set_mode_texts(); }},
        {"buttons",
         [this] {
             undo_button->setEnabled(false);
             confirm_button->setEnabled(false);
         }},
        {"focus name_list", [this] { name_list->setFocus(); }},
    });
}

void PickerWindow::restore_position() {
    run_steps({
        {"option captions",
         [this] {
             for (int k = 1; k <= 10; ++k)
                 area_options[std::size_t(k)]->setText(
                     picker_option_caption(st_.db, mode_, area_of_option(k)));
         }},
        {"Form restore_position", [this] { Form::restore_position(); }},
    });
}

void PickerWindow::set_mode_texts() {
    const PickerTexts texts = picker_texts(mode_);
    names_frame->setTitle(texts.frame);
    heading_button->setText(texts.heading);
    name_list->setAccessibleName(texts.heading);
    guidance_box->setPlainText(texts.guidance);
    // The guidance never takes the focus: the window says it as it opens, the list after its name.
    setAccessibleDescription(texts.guidance);
    name_list->setAccessibleDescription(texts.guidance);
    guidance_box->setEnabled(false);
}

void PickerWindow::fill_name_list(int area) {
    name_list->clear();
    name_list->addItems(picker_rows(st_.db, mode_, area));
    confirm_button->setEnabled(false);
    if (area >= 0 && area <= 9)
        st_.settings_store.set(mode_ == SearchType::prefecture ? &Settings::control1_flg
                                                               : &Settings::control2_flg,
                               Integer(area));
    set_mode_texts();
}

void PickerWindow::record_history(const QString& input_text) {
    st_.settings_store.add_history(mode_, input_text);
}

void PickerWindow::confirm() {
    const int first = first_selected_row(name_list);
    if (first < 0) return; // nothing chosen: the opener's box keeps its text
    // With no window of the opener's kind open, the pick is written nowhere, not even in the history.
    const Target target = find_opener_ ? find_opener_() : Target{};
    if (target.window && target.opener && !target.window->is_unloading()) {
        const QString input_text = picker_name(name_list->item(first)->text());
        try_step("record_history", [&] { record_history(input_text); });
        try_step("picker_chosen", [&] { target.opener->picker_chosen(mode_, input_text); });
        target.window->raise();
        target.window->activateWindow();
    }
    unload();
}

} // namespace tomarina
