#include "results/detail_window.h"

#include "browser/browser_lookup.h"
#include "data/steps.h"
#include "data/text_rules.h"
#include "results/links.h"
#include "shared/caption_fit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

namespace tomarina {

namespace {

QLineEdit* line_box(QWidget* parent, const char* name, int top, int width) {
    auto* box = add_control<QLineEdit>(parent, name, 1440, top, width, 270);
    box->setReadOnly(true);
    // A user hotel's texts may be longer than a box's usual 32767 characters; they show whole.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QPlainTextEdit* text_box(QWidget* parent, const char* name, int top, int height) {
    auto* box = add_control<QPlainTextEdit>(parent, name, 1440, top, 3975, height);
    box->setReadOnly(true);
    // Tab moves on to the next control instead of staying in the box.
    box->setTabChangesFocus(true);
    return box;
}

QLabel* label(QWidget* parent, const char* name, int top, const QString& caption, QWidget* box) {
    auto* l = add_control<QLabel>(parent, name, 240, top, 1095, 255);
    l->setText(caption);
    l->setBuddy(box);
    box->setAccessibleName(caption);
    return l;
}

} // namespace

DetailWindow::DetailWindow(Forms& forms)
    : Form(forms, stored_names::detail, QStringLiteral("detail_window")) {
    Frame1 = add_control<QGroupBox>(this, "Frame1", 60, 0, 5595, 3735);
    Frame1->setTitle(QStringLiteral("ホテル情報"));
    Text1 = line_box(Frame1, "Text1", 360, 3975);
    Text2 = line_box(Frame1, "Text2", 600, 3975);
    Text3 = line_box(Frame1, "Text3", 840, 1695);
    Text4 = line_box(Frame1, "Text4", 1080, 1695);
    Text5 = text_box(Frame1, "Text5", 1320, 615);
    Text6 = line_box(Frame1, "Text6", 1920, 1695);
    Text7 = text_box(Frame1, "Text7", 2160, 855);
    Label1 = label(Frame1, "Label1", 360, QStringLiteral("住所　　　："), Text1);
    Label2 = label(Frame1, "Label2", 600, QStringLiteral("ホテル名　："), Text2);
    Label3 = label(Frame1, "Label3", 840, QStringLiteral("電話番号　："), Text3);
    Label4 = label(Frame1, "Label4", 1080, QStringLiteral("部屋数　　："), Text4);
    Label5 = label(Frame1, "Label5", 1320, QStringLiteral("交通　　　："), Text5);
    Label6 = label(Frame1, "Label6", 1920, QStringLiteral("料金　　　："), Text6);
    Label7 = label(Frame1, "Label7", 2280, QStringLiteral("備考　　　："), Text7);
    Label11 = add_control<QLabel>(Frame1, "Label11", 4320, 240, 1215, 255);
    Check1 = add_control<QCheckBox>(Frame1, "Check1", 240, 3240, 1575, 255);
    Check1->setText(QStringLiteral("旅の窓口予約可"));
    Check2 = add_control<QCheckBox>(Frame1, "Check2", 1920, 3240, 2175, 255);
    Check2->setText(QStringLiteral("ベストリザーブ予約可"));
    Check3 = add_control<QCheckBox>(Frame1, "Check3", 4080, 3240, 1455, 255);
    Check3->setText(QStringLiteral("ホームページ"));
    Command4 = add_control<QPushButton>(this, "Command4", 1920, 3840, 1215, 375);
    Command4->setText(QStringLiteral("ホテル情報"));
    Command5 = add_control<QPushButton>(this, "Command5", 3240, 3840, 1215, 375);
    Command5->setText(QStringLiteral("ホテル予約"));
    Command1 = add_control<QPushButton>(this, "Command1", 4560, 3840, 975, 375);
    Command1->setText(QStringLiteral("終了"));
    for (QPushButton* b : {Command4, Command5, Command1}) b->setAutoDefault(true);

    QWidget* order[] = {Text1,  Text2,  Text3,  Text4,    Text5,    Text6,   Text7,
                        Check1, Check2, Check3, Command4, Command5, Command1};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(Command4, &QPushButton::clicked, this, &DetailWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &DetailWindow::Command5_Click);
    connect(Command1, &QPushButton::clicked, this, [this] { close_window(); });

    // The links open only while a browser is set.
    connect(&st_.settings_store, &SettingsStore::browser_changed, this, [this] {
        if (!is_unloading()) set_buttons();
    });

    fit_captions({Check1, Check2, Check3}, 0);
    setFixedSize(twips_to_px(5670), twips_to_px(4290) + fit_below_caption(Frame1));
    watch_esc();
}

void DetailWindow::init_sec() {
    restore_position();
}

void DetailWindow::fill(const HotelRecord& hotel) {
    const HotelRecord& h = hotel_ = hotel;
    filled_ = true;
    run_steps({
        {"Text1", [&] { Text1->setText(yen_for_display(h.address)); }},
        {"Text2", [&] { Text2->setText(yen_for_display(h.name)); }},
        {"Text3", [&] { Text3->setText(h.tel); }},
        {"Text4", [&] { Text4->setText(h.rooms); }},
        {"Text5", [&] { Text5->setPlainText(yen_for_display(h.access)); }},
        {"Text6", [&] { Text6->setText(yen_for_display(h.price)); }},
        {"Text7", [&] { Text7->setPlainText(yen_for_display(h.note)); }},
        {"Check1", [&] { Check1->setChecked(h.info_no != 0); }},
        {"Check2", [&] { Check2->setChecked(!h.best.isEmpty()); }},
        {"Check3", [&] { Check3->setChecked(!h.url.isEmpty()); }},
        // The second service's text inside the home page address is the same page: offer it once.
        {"Check2 in home page",
         [&] {
             if (!h.url.isEmpty() && h.url.contains(h.best)) Check2->setChecked(false);
         }},
        {"buttons", [&] { set_buttons(); }},
    });
}

void DetailWindow::set_buttons() {
    const LinkButtons b = filled_ && browser_set(st_.settings) ? link_availability(hotel_) : LinkButtons{};
    Command4->setEnabled(b.info);
    Command5->setEnabled(b.reserve);
}

void DetailWindow::Command4_Click() {
    try_step("information links", [this] {
        if (open_links(hotel_, st_.settings_store, pf_, this, LinkMode::Information,
                       {Check1->isChecked(), Check2->isChecked(), Check3->isChecked()}) > 0)
            announce(pages_handed_over);
    });
}

void DetailWindow::Command5_Click() {
    try_step("reservation links", [this] {
        if (open_links(hotel_, st_.settings_store, pf_, this, LinkMode::Reservation,
                       {Check1->isChecked(), Check2->isChecked(), Check3->isChecked()}) > 0)
            announce(pages_handed_over);
    });
}

} // namespace tomarina
