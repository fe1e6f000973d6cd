#include "tools/about_window.h"

#include "data/steps.h"
#include "shared/accessibility.h"
#include "shared/keys.h"
#include "tools/splash_window.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tomarina {

QString about_text(const QString& db_date) {
    const QString crlf = QStringLiteral("\r\n");
    return db_date + QStringLiteral("現在のデータを使用しています") + crlf + publisher_contact + crlf +
           publisher_home_page + crlf + crlf + publisher_notice;
}

AboutWindow::AboutWindow(Forms& forms) : Form(forms, stored_names::about, QStringLiteral("about_window")) {
    setFixedSize(twips_to_px(5655), twips_to_px(3630));
    // The window has no caption; assistive technology still hears what it is, a dialog that tells
    // something, and what it tells.
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    setAccessibleName(QStringLiteral("システム情報"));

    auto label = [this](const char* name, int left, int top, int width, int height, int point) {
        auto* l = add_control<QLabel>(this, name, left, top, width, height);
        QFont f = l->font();
        f.setPointSize(point);
        l->setFont(f);
        return l;
    };
    Image2 = add_control<QLabel>(this, "Image2", 240, 240, 720, 720);
    Image2->setPixmap(product_picture(twips_to_px(720)));
    Image2->setAccessibleName(app_title);
    lblTitle = label("lblTitle", 1080, 240, 4335, 375, 12);
    lblTitle->setText(app_title);
    lblVersion = label("lblVersion", 1080, 600, 4455, 255, 12);
    // As wide as lblVersion: the project's address needs it.
    Label1 = label("Label1", 1080, 1200, 4455, 1095, 9);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
    Line1 = line("Line1", 2640, QColor(0x80, 0x80, 0x80));
    Line2 = line("Line2", 2655, Qt::white);

    cmdOK = add_control<QPushButton>(this, "cmdOK", 4440, 3120, 975, 375);
    cmdOK->setText(QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &AboutWindow::cmdOK_Click);
    watch_esc();
}

void AboutWindow::restore_position() {
    // No caption. The window system is given the program's name for an empty title, so the title is a
    // blank, which shows as nothing.
    try_step("setWindowTitle", [this] { setWindowTitle(QStringLiteral(" ")); });
    Form::restore_position();
    try_step("lblVersion setText",
             [this] { lblVersion->setText(QStringLiteral("Version ") + st_.ver_text); });
    try_step("Label1 setText", [this] { Label1->setText(about_text(st_.db.db_date)); });
    // Said once as the window comes up, the product name first. A screen reader would say a label of
    // several lines besides, as a text of the window's own: read as one line, it is left to the
    // description.
    try_step("description", [this] {
        describe(this, lblTitle->text() + u'\n' + lblVersion->text() + u'\n' + Label1->text());
        Label1->setAccessibleName(QString(Label1->text()).remove(u'\r').remove(u'\n'));
    });
}

void AboutWindow::cmdOK_Click() {
    close_window();
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    // "OK" is both the default and the cancel button.
    if (is_enter(event->key()) || event->key() == Qt::Key_Escape)
        cmdOK->click();
    else
        Form::keyPressEvent(event);
}

} // namespace tomarina
