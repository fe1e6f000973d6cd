// Writes the program's icon into an icon theme tree, OUT_DIR/<n>x<n>/apps/tomarina.png, at the sizes the
// hicolor theme lists, up to the picture's own 256 pixels. The icon is the product picture of the splash
// and About windows.
#include "tools/splash_window.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_icons OUT_DIR\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        const QPixmap picture = tomarina::product_picture(size);
        if (!QDir().mkpath(dir) || !picture.save(dir + QStringLiteral("/tomarina.png"), "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
