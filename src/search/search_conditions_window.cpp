#include "search/search_conditions_window.h"

#include "data/steps.h"
#include "data/user_file.h"
#include "search/narrowing_window.h"
#include "search/search_texts.h"
#include "shared/accessibility.h"
#include "shared/selection.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

namespace tomarina {

namespace {

QString prompt_of(SearchType type) {
    return search_texts::option_prompts[std::size_t(type) - 1];
}

} // namespace

SearchConditionsWindow::SearchConditionsWindow(Forms& forms)
    : Form(forms, stored_names::search_conditions, QStringLiteral("search_conditions_window")) {
    setFixedSize(twips_to_px(6000), twips_to_px(3840));

    criteria_frame = add_control<QGroupBox>(this, "criteria_frame", 120, 60, 5760, 900);
    criteria_frame->setTitle(search_texts::criteria_caption);
    key_box = add_control<QLineEdit>(criteria_frame, "key_box", 240, 330, 4800, 375);
    // The entry goes whole into the history; a district or hotel name of a user hotel may be long.
    key_box->setMaxLength(std::numeric_limits<int>::max());
    picker_button = add_control<QPushButton>(criteria_frame, "picker_button", 5160, 330, 420, 375);
    picker_button->setText(search_texts::picker_button_caption);
    picker_button->setFocusPolicy(Qt::NoFocus);

    guidance_box = add_control<QLineEdit>(this, "guidance_box", 120, 1080, 5760, 330);
    guidance_box->setReadOnly(true);
    guidance_box->setFocusPolicy(Qt::NoFocus);
    guidance_box->setFrame(false);
    guidance_box->setAccessibleName(search_texts::guidance_name);
    // The guidance line never takes the focus: it is what the entry box says after its name; a refusal
    // goes before the prompt of the chosen search.
    connect(guidance_box, &QLineEdit::textChanged, this, [this](const QString& text) {
        const bool refused = text == search_entry_error();
        describe(key_box, refused ? text + u'\n' + prompt_of(selected_option()) : text);
        if (!refused) announce(QString());
    });

    method_frame = add_control<QGroupBox>(this, "method_frame", 120, 1500, 5760, 1500);
    method_frame->setTitle(search_texts::method_caption);
    struct OptionControl {
        QRadioButton*& member;
        const char* name;
    };
    const OptionControl options[] = {
        {prefecture_option, "prefecture_option"}, {airport_option, "airport_option"},
        {hotel_name_option, "hotel_name_option"}, {district_option, "district_option"},
        {station_option, "station_option"},       {keyword_option, "keyword_option"},
    };
    for (int k = 0; k < 6; ++k) {
        auto* o =
            add_control<QRadioButton>(method_frame, QString::fromLatin1(options[k].name), k < 3 ? 240 : 2280,
                                      300 + (k % 3) * 380, k < 3 ? 1900 : 3360, 330);
        o->setText(search_texts::option_captions[std::size_t(k)]);
        options[k].member = o;
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on) follow_selected_option();
        });
    }

    search_button = add_control<QPushButton>(this, "search_button", 2520, 3180, 1575, 480);
    search_button->setText(search_texts::search_caption);
    close_button = add_control<QPushButton>(this, "close_button", 4260, 3180, 1575, 480);
    close_button->setText(search_texts::end_search_caption);
    for (QPushButton* b : {search_button, close_button}) b->setAutoDefault(true);

    // Every option has its place, and Tab stops at the checked one only.
    QWidget* order[] = {key_box,        prefecture_option, airport_option, hotel_name_option, district_option,
                        station_option, keyword_option,    search_button,  close_button};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(search_button, &QPushButton::clicked, this, &SearchConditionsWindow::search);
    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    connect(picker_button, &QPushButton::clicked, this, &SearchConditionsWindow::pick_from_list);

    pf_.set_ime(key_box, true);
    watch_esc();
}

SearchType SearchConditionsWindow::selected_option() const {
    const QRadioButton* options[] = {prefecture_option, airport_option, hotel_name_option,
                                     district_option,   station_option, keyword_option};
    for (int k = 0; k < 6; ++k)
        if (options[k]->isChecked()) return SearchType(k + 1);
    return SearchType::prefecture;
}

void SearchConditionsWindow::set_up_window() {
    int left_out = 0;
    run_steps({
        {"prefecture_option",
         [this] {
             if (prefecture_option->isChecked())
                 follow_selected_option();
             else
                 prefecture_option->setChecked(true);
         }},
        {"copy_user_hotel", [this, &left_out] { left_out = st_.directory.add_user_hotels(); }},
        {"restore_position", [this] { restore_position(); }},
        // Last: nothing of the window is touched after the message's wait.
        {"left out",
         [this, &left_out] {
             if (left_out > 0)
                 pf_.message(
                     this, search_texts::user_hotels_left_out.arg(HotelTables::hotel_capacity).arg(left_out),
                     search_texts::caution_title, MsgIcon::Exclamation, MsgButtons::Ok);
         }},
    });
}

void SearchConditionsWindow::restore_position() {
    run_steps({{"follow_selected_option", [this] { follow_selected_option(); }},
               {"hide picker_button", [this] { picker_button->hide(); }},
               {"place", [this] { Form::restore_position(); }}});
}

void SearchConditionsWindow::follow_selected_option() {
    run_steps({
        {"focus key_box", [this] { key_box->setFocus(); }},
        {"fill_key_from_history", [this] { fill_key_from_history(); }},
        // The option is the criterion of the next search; the running search keeps its own.
        {"prompt", [this] { guidance_box->setText(prompt_of(selected_option())); }},
        // The entry may have kept the focus: the picker button follows the new criterion.
        {"picker button",
         [this] {
             if (key_box->hasFocus()) picker_button->setVisible(picked_from_list(selected_option()));
         }},
    });
}

void SearchConditionsWindow::fill_key_from_history() {
    switch (selected_option()) {
    case SearchType::prefecture:
        key_box->setText(latest_entry(st_.settings.prefecture_history));
        break;
    case SearchType::airport:
        key_box->setText(latest_entry(st_.settings.airport_history));
        break;
    case SearchType::keyword:
        break; // the keyword keeps whatever the entry holds
    default:
        key_box->clear();
        break;
    }
}

std::optional<AcceptedEntry> SearchConditionsWindow::check_key() {
    auto accepted = accept_search_entry(st_.db, selected_option(), key_box->text());
    if (accepted && accepted->entry != key_box->text()) key_box->setText(accepted->entry);
    return accepted;
}

void SearchConditionsWindow::record_history(SearchType search_type) {
    st_.settings_store.add_history(search_type, key_box->text());
}

void SearchConditionsWindow::search() {
    if (key_box->text().isEmpty()) {
        key_box->setFocus();
        return;
    }
    const auto accepted = check_key();
    if (!accepted) {
        refuse_entry();
        return;
    }
    record_history(accepted->search_type);
    guidance_box->setText(prompt_of(selected_option()));
    save_position();
    // A new search replaces the hits of a results window still open from the last one.
    if (Form* old = forms_.loaded(FormKind::results)) old->close_window();
    // The district lists of an open narrowing window belong to the last search.
    if (auto* narrowing = forms_.loaded<NarrowingWindow>()) narrowing->unload();
    // The criterion and key are fixed here for the whole search: the narrowing runs it again with them.
    forms_.show(FormKind::results, SearchCriterion{accepted->search_type, accepted->search_key, {}});
}

void SearchConditionsWindow::pick_from_list() {
    picker_button->hide();
    open_picker();
}

void SearchConditionsWindow::open_picker() {
    const SearchType mode = selected_option();
    if (picked_from_list(mode)) PickerWindow::open<SearchConditionsWindow>(forms_, mode);
}

void SearchConditionsWindow::picker_chosen(SearchType, const QString& name) {
    key_box->setText(name);
    search_button->setFocus();
    // The box is behind the focus now: what filled it is said on its own.
    announce(criteria_frame->title() + u' ' + name);
}

void SearchConditionsWindow::take_typed_key(KeyAscii) {
    if (key_box->text().isEmpty()) {
        key_box->setFocus();
        return;
    }
    if (const auto accepted = check_key()) {
        guidance_box->clear();
        record_history(accepted->search_type);
        search_button->setFocus();
    } else {
        refuse_entry();
    }
}

void SearchConditionsWindow::refuse_entry() {
    guidance_box->setText(search_entry_error());
    key_box->setFocus();
    announce(search_entry_error());
}

// The options are one stop for Tab and Shift+Tab: the checked one, whichever it is; the arrows move
// between them.
bool SearchConditionsWindow::focusNextPrevChild(bool next) {
    QWidget* from = focusWidget();
    if (!from) return Form::focusNextPrevChild(next);
    auto step = [next](QWidget* w) { return next ? w->nextInFocusChain() : w->previousInFocusChain(); };
    for (QWidget* w = step(from); w && w != from; w = step(w)) {
        const auto* option = qobject_cast<QRadioButton*>(w);
        if (w->window() != this || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() ||
            (option && !option->isChecked()))
            continue;
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool SearchConditionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == key_box) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (const auto enter = enter_key(k)) {
                take_typed_key(*enter);
                return true;
            }
            // The picker from the keyboard, as a drop-down list opens.
            if (opens_picker(k) && picked_from_list(selected_option())) {
                pick_from_list();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            QMetaObject::invokeMethod(key_box, &QLineEdit::selectAll, Qt::QueuedConnection);
            picker_button->setVisible(picked_from_list(selected_option()));
            break;
        case QEvent::MouseButtonDblClick:
            open_picker();
            break;
        default:
            break;
        }
    } else if (watched == search_button && event->type() == QEvent::FocusIn) {
        picker_button->hide();
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
