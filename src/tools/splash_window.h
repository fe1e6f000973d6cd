#pragma once

#include "shared/form.h"

class QLabel;

namespace tomarina {

// Shown while the program starts.
class frmSplash : public Form {
    Q_OBJECT
  public:
    explicit frmSplash(Forms& forms);
    void init_set() override;

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblProductLine;
    QLabel* lblCompany;
    QLabel* lblWarning;
    QLabel* Image2;

  protected:
    void form_unload() override {}
};

// The product picture of the splash and About windows, size pixels square.
QPixmap product_picture(int size);

// The publisher's lines of the splash and About windows.
inline const QString publisher_home_page = QStringLiteral("ホームページ：https://www.example.jp/tomarina/");
inline const QString publisher_contact = QStringLiteral("お問い合わせ：tomarina@example.jp");
inline const QString publisher_notice = QStringLiteral("本ソフトウェアの無断複製・再配布を禁じます。");

} // namespace tomarina
