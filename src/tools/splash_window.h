#pragma once

#include "shared/form.h"
#include "tools/publisher.h"

class QLabel;

namespace tomarina {

// Shown while the program starts.
class SplashWindow : public Form {
    Q_OBJECT
  public:
    explicit SplashWindow(Forms& forms);
    void set_up() override;

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblProductLine;
    QLabel* lblCompany;
    QLabel* lblNotice;
    QLabel* lblWarning;
    QLabel* Image2;

  protected:
    void on_unload() override {}
};

// The product picture of the splash and About windows, size pixels square.
QPixmap product_picture(int size);

} // namespace tomarina
