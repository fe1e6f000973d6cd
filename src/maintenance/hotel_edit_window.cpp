#include "maintenance/hotel_edit_window.h"

#include "data/steps.h"
#include "data/text_rules.h"
#include "maintenance/maintenance_list_window.h"
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
    Frame1 = add_control<QGroupBox>(this, "Frame1", 60, 0, 5550, 4725);
    Frame1->setTitle(QStringLiteral("ホテル情報"));

    struct Row {
        QLabel** label;
        QLineEdit** box;
        const char* caption;
        int top, width;
        bool japanese;
    };
    const Row rows[] = {
        {&Label1, &Text1, "都道府県名：", 240, 1695, true},
        {&Label2, &Text2, "空港名　　：", 600, 1695, true},
        {&Label3, &Text3, "地区名　　：", 960, 1695, true},
        {&Label4, &Text4, "ホテル名　：", 1320, 3975, true},
        {&Label5, &Text5, "電話番号　：", 1680, 1695, false},
        {&Label6, &Text6, "部屋数　　：", 2040, 1695, false},
        {&Label7, &Text7, "交通　　　：", 2400, 3975, true},
        {&Label8, &Text8, "料金　　　：", 2760, 1695, false},
        {&Label9, &Text9, "備考　　　：", 3120, 3975, true},
    };
    int n = 0;
    for (const Row& r : rows) {
        ++n;
        *r.label = add_control<QLabel>(Frame1, QStringLiteral("Label%1").arg(n), 240, r.top, 1095, 255);
        (*r.label)->setText(QString::fromUtf8(r.caption));
        // The font's blank is not as wide as its characters: only the right edge lines the colons up.
        (*r.label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *r.box = add_control<QLineEdit>(Frame1, QStringLiteral("Text%1").arg(n), 1440, r.top, r.width, 270);
        (*r.label)->setBuddy(*r.box);
        // The file holds texts of any length; the box's own default would cut them at 32767 characters.
        (*r.box)->setMaxLength(std::numeric_limits<int>::max());
        (*r.box)->setAccessibleName(field_name(n));
        // The prompt the message area shows while the field has the focus, said after its name.
        describe(*r.box, field_prompt(n));
        pf_.set_ime(*r.box, r.japanese);
        if (n == 1) {
            Command4 = add_control<QPushButton>(Frame1, "Command4", 3120, 240, 255, 255);
            Command4->setText(QStringLiteral("?"));
            Command4->setAccessibleName(QStringLiteral("都道府県名の一覧"));
        } else if (n == 2) {
            Command5 = add_control<QPushButton>(Frame1, "Command5", 3120, 600, 255, 255);
            Command5->setText(QStringLiteral("?"));
            Command5->setAccessibleName(QStringLiteral("空港名の一覧"));
        }
    }

    Label10 = add_control<QLabel>(Frame1, "Label10", 240, 3600, 1095, 255);
    Label10->setText(QStringLiteral("メッセージ："));
    Label10->setAutoFillBackground(true);
    paint(Label10, QPalette::Window, message_green);
    Text10 = add_control<QPlainTextEdit>(Frame1, "Text10", 1440, 3600, 3975, 495);
    Text10->setReadOnly(true);
    Text10->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text10->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text10->document()->setDocumentMargin(1);
    paint(Text10, QPalette::Base, message_green);
    Label10->setBuddy(Text10);
    Text10->setAccessibleName(QStringLiteral("メッセージ"));
    // A refusal names the field it sends the focus to (refuse) until the message area shows something
    // else, so that a screen reader says it where the focus is.
    connect(Text10, &QPlainTextEdit::textChanged, this, &HotelEditWindow::name_fields);

    Command1 = add_control<QPushButton>(Frame1, "Command1", 4560, 4320, 975, 375);
    Command1->setText(QStringLiteral("更新"));
    Command2 = add_control<QPushButton>(Frame1, "Command2", 2400, 4320, 975, 375);
    Command2->setText(QStringLiteral("取消終了"));
    Command3 = add_control<QPushButton>(Frame1, "Command3", 3480, 4320, 975, 375);
    Command3->setText(QStringLiteral("追加更新"));
    for (QPushButton* b : {Command1, Command2, Command3, Command4, Command5}) b->setAutoDefault(true);

    Label11 = add_control<QLabel>(Frame1, "Label11", 4320, 240, 1215, 255);
    Label11->setAutoFillBackground(true);
    Label11->setAlignment(Qt::AlignCenter);
    paint(Label11, QPalette::Window, mode_yellow);

    QWidget* order[] = {Text1, Command4, Text2, Command5, Text3,    Text4,    Text5, Text6,
                        Text7, Text8,    Text9, Command1, Command2, Command3, Text10};
    for (std::size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);

    connect(Command1, &QPushButton::clicked, this, &HotelEditWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &HotelEditWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &HotelEditWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &HotelEditWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &HotelEditWindow::Command5_Click);

    setFixedSize(width(), height() + fit_below_caption(Frame1));
    watch_esc();
}

QLineEdit* HotelEditWindow::text(int field) const {
    QLineEdit* const boxes[] = {nullptr, Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9};
    return field >= 1 && field <= 9 ? boxes[field] : nullptr;
}

int HotelEditWindow::field_of(QObject* o) const {
    for (int k = 1; k <= 9; ++k)
        if (o == text(k)) return k;
    return 0;
}

EditFields HotelEditWindow::fields() const {
    EditFields f;
    for (int k = 1; k <= 9; ++k) f[std::size_t(k)] = text(k)->text();
    return f;
}

void HotelEditWindow::set_fields(const EditFields& f) {
    for (int k = 1; k <= 9; ++k)
        if (text(k)->text() != f[std::size_t(k)]) text(k)->setText(f[std::size_t(k)]);
}

void HotelEditWindow::on_load() {
    run_steps({{"init_sec", [this] { init_sec(); }},
               {"set_text1", [this] { set_text1(); }},
               {"set_text2", [this] { set_text2(); }}});
    given_ = fields();
}

void HotelEditWindow::init_sec() {
    run_steps({
        {"set_form1", [this] { restore_position(); }},
        {"fields",
         [this] {
             if (target_.mode == EditMode::upd) {
                 const EditFields f = user_fields(st_.user, target_.user_no);
                 for (int k = 3; k <= 9; ++k) text(k)->setText(f[std::size_t(k)]);
             } else {
                 for (int k = 1; k <= 9; ++k) text(k)->clear();
             }
         }},
        {"Command3 setEnabled", [this] { Command3->setEnabled(target_.mode != EditMode::add); }},
        {"picker buttons",
         [this] {
             Command4->hide();
             Command5->hide();
         }},
    });
}

void HotelEditWindow::restore_position() {
    Form::restore_position();
    Label11->clear();
    if (target_.mode == EditMode::upd)
        Label11->setText(QStringLiteral("修正モード"));
    else if (target_.mode == EditMode::add)
        Label11->setText(QStringLiteral("追加モード"));
    // The mode is said as the window opens.
    setAccessibleDescription(Label11->text());
}

void HotelEditWindow::set_text1() {
    if (target_.mode == EditMode::upd) {
        Text1->setText(st_.user.user_ken_name(target_.user_no));
        return;
    }
    Text1->setText(latest_entry(st_.settings.text1_hist));
}

void HotelEditWindow::set_text2() {
    if (target_.mode == EditMode::upd) {
        Text2->setText(st_.user.user_airport_name(target_.user_no));
        return;
    }
    Text2->setText(latest_entry(st_.settings.text2_hist));
}

QString HotelEditWindow::check_text1() {
    return tomarina::check_text1(st_.db, input_form(Text1->text()));
}

QString HotelEditWindow::check_text2() {
    return tomarina::check_text2(st_.db, input_form(Text2->text()));
}

void HotelEditWindow::show_message(const QString& text) {
    Text10->setPlainText(yen_for_display(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HotelEditWindow::Text_GotFocus(int field) {
    Command4->setVisible(field == 1);
    Command5->setVisible(field == 2);
    QMetaObject::invokeMethod(text(field), &QLineEdit::selectAll, Qt::QueuedConnection);
    if (keep_message_for_ == field) {
        keep_message_for_ = 0;
        return;
    }
    keep_message_for_ = 0;
    show_message(field_prompt(field));
}

void HotelEditWindow::Text_KeyPress(int field, KeyAscii) {
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
        Command1->setFocus();
    else
        text(field + 1)->setFocus();
    // A value the check wrote anew (a price 8000 becomes \8,000) is said as it now stands.
    if (f != typed) tell_value(field);
}

void HotelEditWindow::tell_value(int field) {
    // Said in place of a refusal still standing, which the focus arriving later must not take back.
    refusal_said_ = false;
    announce(field_name(field) + u' ' + yen_for_display(text(field)->text()));
}

void HotelEditWindow::Text_DblClick(int field) {
    if (field == 1 || field == 2) open_picker(field == 1 ? SearchType::prefecture : SearchType::airport);
}

void HotelEditWindow::refuse(int field, const QString& message) {
    show_message(message);
    announce(message);
    refusal_said_ = true;
    QLineEdit* box = text(field);
    if (!box) return;
    // The box keeps its name; the refusal goes before its prompt.
    describe(box, message + u'\n' + field_prompt(field));
    if (box->hasFocus()) return;
    // The focus arriving at the field must not cover the refusal with the field's prompt.
    keep_message_for_ = field;
    box->setFocus();
}

void HotelEditWindow::name_fields() {
    for (int k = 1; k <= 9; ++k) describe(text(k), field_prompt(k));
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
    const QString question = adding ? QStringLiteral("追加しますよ！！") : QStringLiteral("更新しますよ！！");
    if (pf_.message(this, question, QStringLiteral("確認メッセージ"), MsgIcon::Exclamation,
                    MsgButtons::OkCancel) == MsgAnswer::Cancel)
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

void HotelEditWindow::Command1_Click() {
    store(StoreButton::Update);
}

void HotelEditWindow::Command3_Click() {
    store(StoreButton::AddUpdate);
}

void HotelEditWindow::Command2_Click() {
    save_position();
    forms_.show<MaintenanceListWindow>();
    unload();
}

void HotelEditWindow::Command4_Click() {
    open_picker(SearchType::prefecture);
}

void HotelEditWindow::Command5_Click() {
    open_picker(SearchType::airport);
}

void HotelEditWindow::open_picker(SearchType mode) {
    (mode == SearchType::prefecture ? Command4 : Command5)->hide();
    PickerWindow::open<HotelEditWindow>(forms_, mode);
}

void HotelEditWindow::picker_chosen(SearchType mode, const QString& name) {
    if (mode == SearchType::prefecture) {
        Text1->setText(name);
        Text2->setFocus();
    } else {
        Text2->setText(name);
        Text3->setFocus();
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
                Text_KeyPress(field, *enter);
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
            Text_GotFocus(field);
            break;
        case QEvent::MouseButtonDblClick:
            Text_DblClick(field);
            break;
        default:
            break;
        }
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina
