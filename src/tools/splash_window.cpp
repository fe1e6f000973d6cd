#include "tools/splash_window.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace tomarina {

QPixmap product_picture(int size) {
    const QPixmap pm(QStringLiteral(":/tomarina/tomarina.png"));
    return pm.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

SplashWindow::SplashWindow(Forms& forms)
    : Form(forms, stored_names::splash, QStringLiteral("splash_window")) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(twips_to_px(7140), twips_to_px(4035));

    auto* frame = add_control<QFrame>(this, "Frame1", 150, 60, 6840, 3855);
    frame->setFrameShape(QFrame::Box);

    Image2 = add_control<QLabel>(frame, "Image2", 240, 600, 1500, 1500);
    Image2->setPixmap(product_picture(twips_to_px(1500)));

    auto label = [frame](const char* name, const QString& text, int left, int top, int width, int height,
                         int point, bool arial = false) {
        auto* l = add_control<QLabel>(frame, name, left, top, width, height);
        l->setText(text);
        QFont f = l->font();
        if (arial) f.setFamily(QStringLiteral("Arial"));
        f.setPointSize(point);
        l->setFont(f);
        return l;
    };
    lblProductLine = label("lblProductLine", QStringLiteral("ホテル情報検索・オンライン予約支援ソフト"), 1900,
                           300, 4600, 300, 10);
    lblProductName = label("lblProductName", app_title, 1900, 900, 4860, 600, 18);
    lblVersion = label("lblVersion", QString(), 3400, 1800, 3200, 330, 12, true);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlatform = label("lblPlatform", QStringLiteral("Windows95/98,NT/WS"), 3400, 2160, 3200, 330, 11, true);
    lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCompany = label("lblCompany", publisher_home_page, 240, 2640, 6400, 300, 9);
    lblNotice = label("lblNotice", publisher_notice, 240, 2940, 6400, 300, 9);
    // One sentence a line, so that no line holds only the end of a sentence.
    lblWarning =
        label("lblWarning",
              QStringLiteral(
                  "ホテルの料金・設備などは変更されることがあります。\nご予約の前に必ずご確認ください。"),
              240, 3270, 6400, 450, 9);
}

void SplashWindow::set_up() {
    lblVersion->setText(QStringLiteral("Version  ") + st_.ver_text);
}

} // namespace tomarina
