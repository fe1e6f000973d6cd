#include "maintenance/hotel_edit_window.h"

#include "data/steps.h"
#include "data/text_rules.h"
#include "maintenance/maintenance_list_window.h"
#include "maintenance/maintenance_texts.h"
#include "shared/accessibility.h"
#include "shared/caption_fit.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>
#include <utility>

namespace tomarina {

namespace texts = maintenance_texts;

namespace {

const QColor message_green(0xC0, 0xFF, 0xC0);
const QColor mode_yellow(0xFF, 0xFF, 0x00);

void paint(QWidget* w, QPalette::ColorRole role, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(role, color);
    w->setPalette(p);
}

} // namespace

HotelEditWindow::HotelEditWindow(Forms& forms, EditTarget target)
    : Form(forms, stored_names::hotel_edit, QStringLiteral("hotel_edit_window")), target_(target) {
    setFixedSize(twips_to_px(5670), twips_to_px(4725));
    hotel_frame = add_control<QGroupBox>(this, "hotel_frame", 60, 0, 5550, 4725);
    hotel_frame->setTitle(texts::hotel_frame_title);

    struct Row {
        QLabel** label;
        QLineEdit** box;
        const char* label_name;
        const char* box_name;
        int top, width;
        bool japanese;
    };
    const Row rows[] = {
        {&prefecture_label, &prefecture_box, "prefecture_label", "prefecture_box", 240, 1695, true},
        {&airport_label, &airport_box, "airport_label", "airport_box", 600, 1695, true},
        {&district_label, &district_box, "district_label", "district_box", 960, 1695, true},
        {&hotel_name_label, &hotel_name_box, "hotel_name_label", "hotel_name_box", 1320, 3975, true},
        {&phone_label, &phone_box, "phone_label", "phone_box", 1680, 1695, false},
        {&rooms_label, &rooms_box, "rooms_label", "rooms_box", 2040, 1695, false},
        {&access_label, &access_box, "access_label", "access_box", 2400, 3975, true},
        {&rate_label, &rate_box, "rate_label", "rate_box", 2760, 1695, false},
        {&remark_label, &remark_box, "remark_label", "remark_box", 3120, 3975, true},
    };
    int n = 0;
    for (const Row& r : rows) {
        ++n;
        *r.label = add_control<QLabel>(hotel_frame, r.label_name, 240, r.top, 1095, 255);
        (*r.label)->setText(texts::field_labels[std::size_t(n)]);
        // The font's blank is not as wide as its characters: only the right edge lines the colons up.
        (*r.label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *r.box = add_control<QLineEdit>(hotel_frame, r.box_name, 1440, r.top, r.width, 270);
        (*r.label)->setBuddy(*r.box);
        // The file holds texts of any length; the box's own default would cut them at 32767 characters.
        (*r.box)->setMaxLength(std::numeric_limits<int>::max());
        (*r.box)->setAccessibleName(field_name(n));
        // The prompt the message area shows while the field has the focus, said after its name.
        describe(*r.box, field_prompt(n));
        pf_.set_ime(*r.box, r.japanese);
        if (n == 1) {
            prefecture_list_button =
                add_control<QPushButton>(hotel_frame, "prefecture_list_button", 3120, 240, 255, 255);
            prefecture_list_button->setText(texts::picker_caption);
            prefecture_list_button->setAccessibleName(texts::prefecture_list_name);
        } else if (n == 2) {
            airport_list_button =
                add_control<QPushButton>(hotel_frame, "airport_list_button", 3120, 600, 255, 255);
            airport_list_button->setText(texts::picker_caption);
            airport_list_button->setAccessibleName(texts::airport_list_name);
        }
    }

    message_label = add_control<QLabel>(hotel_frame, "message_label", 240, 3600, 1095, 255);
    message_label->setText(texts::message_caption);
    message_label->setAutoFillBackground(true);
    paint(message_label, QPalette::Window, message_green);
    message_area = add_control<QPlainTextEdit>(hotel_frame, "message_area", 1440, 3600, 3975, 495);
    message_area->setReadOnly(true);
    message_area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_area->document()->setDocumentMargin(1);
    paint(message_area, QPalette::Base, message_green);
    message_label->setBuddy(message_area);
    message_area->setAccessibleName(texts::message_area_name);
    // A refusal names the field it sends the focus to (refuse) until the message area shows something
    // else, so that a screen reader says it where the focus is.
    connect(message_area, &QPlainTextEdit::textChanged, this, &HotelEditWindow::name_fields);

    update_button = add_control<QPushButton>(hotel_frame, "update_button", 4560, 4320, 975, 375);
    update_button->setText(texts::update_caption);
    cancel_button = add_control<QPushButton>(hotel_frame, "cancel_button", 2400, 4320, 975, 375);
    cancel_button->setText(texts::cancel_caption);
    add_update_button = add_control<QPushButton>(hotel_frame, "add_update_button", 3480, 4320, 975, 375);
    add_update_button->setText(texts::add_update_caption);
    for (QPushButton* b :
         {update_button, cancel_button, add_update_button, prefecture_list_button, airport_list_button})
        b->setAutoDefault(true);

    mode_label = add_control<QLabel>(hotel_frame, "mode_label", 4320, 240, 1215, 255);
    mode_label->setAutoFillBackground(true);
    mode_label->setAlignment(Qt::AlignCenter);
    paint(mode_label, QPalette::Window, mode_yellow);

    QWidget* order[] = {prefecture_box, prefecture_list_button,
                        airport_box,    airport_list_button,
                        district_box,   hotel_name_box,
                        phone_box,      rooms_box,
                        access_box,     rate_box,
                        remark_box,     update_button,
                        cancel_button,  add_update_button,
                        message_area};
    for (std::size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);

    connect(update_button, &QPushButton::clicked, this, &HotelEditWindow::store_hotel);
    connect(cancel_button, &QPushButton::clicked, this, &HotelEditWindow::cancel_to_list);
    connect(add_update_button, &QPushButton::clicked, this, &HotelEditWindow::store_as_new_hotel);
    connect(prefecture_list_button, &QPushButton::clicked, this, &HotelEditWindow::pick_prefecture);
    connect(airport_list_button, &QPushButton::clicked, this, &HotelEditWindow::pick_airport);

    setFixedSize(width(), height() + fit_below_caption(hotel_frame));
    watch_esc();
}

QLineEdit* HotelEditWindow::field_box(int field) const {
    QLineEdit* const boxes[] = {nullptr,   prefecture_box, airport_box, district_box, hotel_name_box,
                                phone_box, rooms_box,      access_box,  rate_box,     remark_box};
    return field >= 1 && field <= 9 ? boxes[field] : nullptr;
}

int HotelEditWindow::field_of(QObject* o) const {
    for (int k = 1; k <= 9; ++k)
        if (o == field_box(k)) return k;
    return 0;
}

EditFields HotelEditWindow::fields() const {
    EditFields f;
    for (int k = 1; k <= 9; ++k) f[std::size_t(k)] = field_box(k)->text();
    return f;
}

void HotelEditWindow::set_fields(const EditFields& f) {
    for (int k = 1; k <= 9; ++k)
        if (field_box(k)->text() != f[std::size_t(k)]) field_box(k)->setText(f[std::size_t(k)]);
}

void HotelEditWindow::on_load() {
    run_steps({{"set_up_window", [this] { set_up_window(); }},
               {"fill_prefecture", [this] { fill_prefecture(); }},
               {"fill_airport", [this] { fill_airport(); }}});
    given_ = fields();
}

void HotelEditWindow::set_up_window() {
    run_steps({
        {"restore_position", [this] { restore_position(); }},
        {"fields",
         [this] {
             if (target_.mode == EditMode::upd) {
                 const EditFields f = user_fields(st_.user, target_.user_no);
                 for (int k = 3; k <= 9; ++k) field_box(k)->setText(f[std::size_t(k)]);
             } else {
                 for (int k = 1; k <= 9; ++k) field_box(k)->clear();
             }
         }},
        {"add_update_button setEnabled",
         [this] { add_update_button->setEnabled(target_.mode != EditMode::add); }},
        {"picker buttons",
         [this] {
             prefecture_list_button->hide();
             airport_list_button->hide();
         }},
    });
}

void HotelEditWindow::restore_position() {
    Form::restore_position();
    mode_label->clear();
    if (target_.mode == EditMode::upd)
        mode_label->setText(texts::modify_mode);
    else if (target_.mode == EditMode::add)
        mode_label->setText(texts::add_mode);
    // The mode is said as the window opens.
    setAccessibleDescription(mode_label->text());
}

void HotelEditWindow::fill_prefecture() {
    if (target_.mode == EditMode::upd) {
        prefecture_box->setText(st_.user.user_ken_name(target_.user_no));
        return;
    }
    prefecture_box->setText(latest_entry(st_.settings.prefecture_history));
}

void HotelEditWindow::fill_airport() {
    if (target_.mode == EditMode::upd) {
        airport_box->setText(st_.user.user_airport_name(target_.user_no));
        return;
    }
    airport_box->setText(latest_entry(st_.settings.airport_history));
}

QString HotelEditWindow::check_prefecture() {
    return tomarina::check_prefecture_name(st_.db, input_form(prefecture_box->text()));
}

QString HotelEditWindow::check_airport() {
    return tomarina::check_airport_name(st_.db, input_form(airport_box->text()));
}

void HotelEditWindow::show_message(const QString& text) {
    message_area->setPlainText(yen_for_display(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HotelEditWindow::prompt_for_field(int field) {
    prefecture_list_button->setVisible(field == 1);
    airport_list_button->setVisible(field == 2);
    QMetaObject::invokeMethod(field_box(field), &QLineEdit::selectAll, Qt::QueuedConnection);
    if (keep_message_for_ == field) {
        keep_message_for_ = 0;
        return;
    }
    keep_message_for_ = 0;
    show_message(field_prompt(field));
}

void HotelEditWindow::accept_field(int field, KeyAscii) {
    const EditFields typed = fields();
    EditFields f = typed;
    const QString message = enter_check(field, f, st_.db, &given_);
    set_fields(f);
    if (!message.isEmpty()) {
        refuse(field, message);
        return;
    }
    name_fields();
    if (field == 9)
        update_button->setFocus();
    else
        field_box(field + 1)->setFocus();
    // A value the check wrote anew (a price 8000 becomes \8,000) is said as it now stands.
    if (f != typed) tell_value(field);
}

void HotelEditWindow::tell_value(int field) {
    // Said in place of a refusal still standing, which the focus arriving later must not take back.
    refusal_said_ = false;
    announce(field_name(field) + u' ' + yen_for_display(field_box(field)->text()));
}

void HotelEditWindow::open_field_picker(int field) {
    if (field == 1 || field == 2) open_picker(field == 1 ? SearchType::prefecture : SearchType::airport);
}

void HotelEditWindow::refuse(int field, const QString& message) {
    show_message(message);
    announce(message);
    refusal_said_ = true;
    QLineEdit* box = field_box(field);
    if (!box) return;
    // The box keeps its name; the refusal goes before its prompt.
    describe(box, message + u'\n' + field_prompt(field));
    if (box->hasFocus()) return;
    // The focus arriving at the field must not cover the refusal with the field's prompt.
    keep_message_for_ = field;
    box->setFocus();
}

void HotelEditWindow::name_fields() {
    for (int k = 1; k <= 9; ++k) describe(field_box(k), field_prompt(k));
    // Only a refusal is taken back: a value just told (a pick) stays until it has been heard.
    if (std::exchange(refusal_said_, false)) announce(QString());
}

void HotelEditWindow::store(StoreButton button) {
    const bool adding = button == StoreButton::AddUpdate || target_.mode != EditMode::upd;
    if (adding && user_tables_full(st_.user)) {
        refuse(0, user_tables_full_message());
        return;
    }
    EditFields f = fields();
    const std::optional<Refusal> refusal = store_check(button, f, st_.db, &given_);
    set_fields(f);
    if (refusal) {
        refuse(refusal->field, refusal->message);
        return;
    }
    name_fields();
    const QString question = adding ? texts::add_question : texts::update_question;
    if (pf_.message(this, question, texts::confirm_title, MsgIcon::Exclamation, MsgButtons::OkCancel) ==
        MsgAnswer::Cancel)
        return;
    // Closed while the box waited, or the boxes changed: what was confirmed is not what would be stored.
    if (is_unloading() || fields() != f) return;
    if (adding)
        st_.directory.add_user_hotel(f);
    else
        st_.directory.replace_user_hotel(target_.user_no, f);
    forms_.show<MaintenanceListWindow>();
    close_window();
}

void HotelEditWindow::store_hotel() {
    store(StoreButton::Update);
}

void HotelEditWindow::store_as_new_hotel() {
    store(StoreButton::AddUpdate);
}

void HotelEditWindow::cancel_to_list() {
    save_position();
    forms_.show<MaintenanceListWindow>();
    unload();
}

void HotelEditWindow::pick_prefecture() {
    open_picker(SearchType::prefecture);
}

void HotelEditWindow::pick_airport() {
    open_picker(SearchType::airport);
}

void HotelEditWindow::open_picker(SearchType mode) {
    (mode == SearchType::prefecture ? prefecture_list_button : airport_list_button)->hide();
    PickerWindow::open<HotelEditWindow>(forms_, mode);
}

void HotelEditWindow::picker_chosen(SearchType mode, const QString& name) {
    if (mode == SearchType::prefecture) {
        prefecture_box->setText(name);
        airport_box->setFocus();
    } else {
        airport_box->setText(name);
        district_box->setFocus();
    }
    // The box is behind the focus now: what filled it is said on its own.
    tell_value(mode == SearchType::prefecture ? 1 : 2);
}

bool HotelEditWindow::eventFilter(QObject* watched, QEvent* event) {
    if (const int field = field_of(watched)) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (const auto enter = enter_key(k)) {
                accept_field(field, *enter);
                return true;
            }
            // The picker from the keyboard, as in the search window.
            if (opens_picker(k) && (field == 1 || field == 2)) {
                open_picker(field == 1 ? SearchType::prefecture : SearchType::airport);
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            prompt_for_field(field);
            break;
        case QEvent::MouseButtonDblClick:
            open_field_picker(field);
            break;
        default:
            break;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
