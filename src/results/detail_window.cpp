#include "results/detail_window.h"

#include "browser/browser_lookup.h"
#include "data/steps.h"
#include "data/text_rules.h"
#include "results/links.h"
#include "results/results_texts.h"
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
    hotel_frame = add_control<QGroupBox>(this, "hotel_frame", 60, 0, 5595, 3735);
    hotel_frame->setTitle(results_texts::detail_frame_title);
    address_box = line_box(hotel_frame, "address_box", 360, 3975);
    name_box = line_box(hotel_frame, "name_box", 600, 3975);
    phone_box = line_box(hotel_frame, "phone_box", 840, 1695);
    rooms_box = line_box(hotel_frame, "rooms_box", 1080, 1695);
    access_box = text_box(hotel_frame, "access_box", 1320, 615);
    price_box = line_box(hotel_frame, "price_box", 1920, 1695);
    note_box = text_box(hotel_frame, "note_box", 2160, 855);
    address_label = label(hotel_frame, "address_label", 360, results_texts::address_caption, address_box);
    name_label = label(hotel_frame, "name_label", 600, results_texts::name_caption, name_box);
    phone_label = label(hotel_frame, "phone_label", 840, results_texts::phone_caption, phone_box);
    rooms_label = label(hotel_frame, "rooms_label", 1080, results_texts::rooms_caption, rooms_box);
    access_label = label(hotel_frame, "access_label", 1320, results_texts::access_caption, access_box);
    price_label = label(hotel_frame, "price_label", 1920, results_texts::price_caption, price_box);
    note_label = label(hotel_frame, "note_label", 2280, results_texts::note_caption, note_box);
    mode_label = add_control<QLabel>(hotel_frame, "mode_label", 4320, 240, 1215, 255);
    first_service_check = add_control<QCheckBox>(hotel_frame, "first_service_check", 240, 3240, 1575, 255);
    first_service_check->setText(results_texts::first_service_caption);
    second_service_check = add_control<QCheckBox>(hotel_frame, "second_service_check", 1920, 3240, 2175, 255);
    second_service_check->setText(results_texts::second_service_caption);
    home_page_check = add_control<QCheckBox>(hotel_frame, "home_page_check", 4080, 3240, 1455, 255);
    home_page_check->setText(results_texts::home_page_caption);
    information_button = add_control<QPushButton>(this, "information_button", 1920, 3840, 1215, 375);
    information_button->setText(results_texts::information_caption);
    reserve_button = add_control<QPushButton>(this, "reserve_button", 3240, 3840, 1215, 375);
    reserve_button->setText(results_texts::reserve_caption);
    close_button = add_control<QPushButton>(this, "close_button", 4560, 3840, 975, 375);
    close_button->setText(results_texts::close_caption);
    for (QPushButton* b : {information_button, reserve_button, close_button}) b->setAutoDefault(true);

    QWidget* order[] = {address_box,          name_box,        phone_box,          rooms_box,
                        access_box,           price_box,       note_box,           first_service_check,
                        second_service_check, home_page_check, information_button, reserve_button,
                        close_button};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(information_button, &QPushButton::clicked, this, &DetailWindow::show_information);
    connect(reserve_button, &QPushButton::clicked, this, &DetailWindow::reserve);
    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });

    // The links open only while a browser is set.
    connect(&st_.settings_store, &SettingsStore::browser_changed, this, [this] {
        if (!is_unloading()) set_buttons();
    });

    fit_captions({first_service_check, second_service_check, home_page_check}, 0);
    setFixedSize(twips_to_px(5670), twips_to_px(4290) + fit_below_caption(hotel_frame));
    watch_esc();
}

void DetailWindow::fill(const HotelRecord& hotel) {
    const HotelRecord& h = hotel_ = hotel;
    filled_ = true;
    run_steps({
        {"address_box", [&] { address_box->setText(yen_for_display(h.address)); }},
        {"name_box", [&] { name_box->setText(yen_for_display(h.name)); }},
        {"phone_box", [&] { phone_box->setText(h.tel); }},
        {"rooms_box", [&] { rooms_box->setText(h.rooms); }},
        {"access_box", [&] { access_box->setPlainText(yen_for_display(h.access)); }},
        {"price_box", [&] { price_box->setText(yen_for_display(h.price)); }},
        {"note_box", [&] { note_box->setPlainText(yen_for_display(h.note)); }},
        {"first_service_check", [&] { first_service_check->setChecked(h.info_no != 0); }},
        {"second_service_check", [&] { second_service_check->setChecked(!h.best.isEmpty()); }},
        {"home_page_check", [&] { home_page_check->setChecked(!h.url.isEmpty()); }},
        // The second service's text inside the home page address is the same page: offer it once.
        {"second service in home page",
         [&] {
             if (!h.url.isEmpty() && h.url.contains(h.best)) second_service_check->setChecked(false);
         }},
        {"buttons", [&] { set_buttons(); }},
    });
}

void DetailWindow::set_buttons() {
    const LinkButtons b = filled_ && browser_set(st_.settings) ? link_availability(hotel_) : LinkButtons{};
    information_button->setEnabled(b.info);
    reserve_button->setEnabled(b.reserve);
}

void DetailWindow::show_information() {
    try_step("information links", [this] {
        if (open_links(hotel_, st_.settings_store, pf_, this, LinkMode::Information,
                       {first_service_check->isChecked(), second_service_check->isChecked(),
                        home_page_check->isChecked()}) > 0)
            announce(results_texts::pages_handed_over);
    });
}

void DetailWindow::reserve() {
    try_step("reservation links", [this] {
        if (open_links(hotel_, st_.settings_store, pf_, this, LinkMode::Reservation,
                       {first_service_check->isChecked(), second_service_check->isChecked(),
                        home_page_check->isChecked()}) > 0)
            announce(results_texts::pages_handed_over);
    });
}

} // namespace tomarina
