#include "tools/splash_window.h"

#include "tools/tools_texts.h"

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

    auto* frame = add_control<QFrame>(this, "border_frame", 150, 60, 6840, 3855);
    frame->setFrameShape(QFrame::Box);

    picture = add_control<QLabel>(frame, "picture", 240, 600, 1500, 1500);
    picture->setPixmap(product_picture(twips_to_px(1500)));

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
    product_line_label = label("product_line_label", tools_texts::product_line, 1900, 300, 4600, 300, 10);
    product_name_label = label("product_name_label", app_title, 1900, 900, 4860, 600, 18);
    version_label = label("version_label", QString(), 3400, 1800, 3200, 330, 12, true);
    version_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    platform_label = label("platform_label", tools_texts::platform_line, 3400, 2160, 3200, 330, 11, true);
    platform_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    home_page_label = label("home_page_label", tools_texts::publisher_home_page, 240, 2640, 6400, 300, 9);
    notice_label = label("notice_label", tools_texts::publisher_notice, 240, 2940, 6400, 300, 9);
    // One sentence a line, so that no line holds only the end of a sentence.
    warning_label = label("warning_label", tools_texts::splash_warning, 240, 3270, 6400, 450, 9);
}

void SplashWindow::set_up() {
    version_label->setText(tools_texts::splash_version.arg(st_.ver_text));
}

} // namespace tomarina
