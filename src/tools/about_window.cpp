#include "tools/about_window.h"

#include "data/steps.h"
#include "shared/accessibility.h"
#include "shared/keys.h"
#include "tools/splash_window.h"
#include "tools/tools_texts.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tomarina {

QString about_text(const QString& db_date) {
    const QString crlf = QStringLiteral("\r\n");
    return tools_texts::data_date_note.arg(db_date) + crlf + tools_texts::publisher_contact + crlf +
           tools_texts::publisher_home_page + crlf + crlf + tools_texts::publisher_notice;
}

AboutWindow::AboutWindow(Forms& forms) : Form(forms, stored_names::about, QStringLiteral("about_window")) {
    setFixedSize(twips_to_px(5655), twips_to_px(3630));
    // The window has no caption; assistive technology still hears what it is, a dialog that tells
    // something, and what it tells.
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    setAccessibleName(tools_texts::about_caption);

    auto label = [this](const char* name, int left, int top, int width, int height, int point) {
        auto* l = add_control<QLabel>(this, name, left, top, width, height);
        QFont f = l->font();
        f.setPointSize(point);
        l->setFont(f);
        return l;
    };
    picture = add_control<QLabel>(this, "picture", 240, 240, 720, 720);
    picture->setPixmap(product_picture(twips_to_px(720)));
    picture->setAccessibleName(app_title);
    title_label = label("title_label", 1080, 240, 4335, 375, 12);
    title_label->setText(app_title);
    version_label = label("version_label", 1080, 600, 4455, 255, 12);
    // As wide as version_label: the project's address needs it.
    data_label = label("data_label", 1080, 1200, 4455, 1095, 9);
    data_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // A grey line over a white one, the etched separator above the button.
    auto line = [this](const char* name, int top, const QColor& color) {
        auto* l = add_control<QFrame>(this, name, 120, top, 5415, 15);
        l->setFixedHeight(1);
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, color);
        l->setPalette(p);
        return l;
    };
    grey_line = line("grey_line", 2640, QColor(0x80, 0x80, 0x80));
    white_line = line("white_line", 2655, Qt::white);

    ok_button = add_control<QPushButton>(this, "ok_button", 4440, 3120, 975, 375);
    ok_button->setText(QStringLiteral("OK"));
    ok_button->setDefault(true);
    ok_button->setAutoDefault(true);
    connect(ok_button, &QPushButton::clicked, this, [this] { close_window(); });
    watch_esc();
}

void AboutWindow::restore_position() {
    // No caption. The window system is given the program's name for an empty title, so the title is a
    // blank, which shows as nothing.
    try_step("setWindowTitle", [this] { setWindowTitle(QStringLiteral(" ")); });
    Form::restore_position();
    try_step("version_label setText",
             [this] { version_label->setText(tools_texts::about_version.arg(st_.ver_text)); });
    try_step("data_label setText", [this] { data_label->setText(about_text(st_.db.db_date)); });
    // Said once as the window comes up, the product name first. A screen reader would say a label of
    // several lines besides, as a text of the window's own: read as one line, it is left to the
    // description.
    try_step("description", [this] {
        describe(this, title_label->text() + u'\n' + version_label->text() + u'\n' + data_label->text());
        data_label->setAccessibleName(QString(data_label->text()).remove(u'\r').remove(u'\n'));
    });
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    // "OK" is both the default and the cancel button.
    if (is_enter(event->key()) || event->key() == Qt::Key_Escape)
        ok_button->click();
    else
        Form::keyPressEvent(event);
}

} // namespace tomarina
