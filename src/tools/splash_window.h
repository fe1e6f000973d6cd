#pragma once

#include "shared/form.h"

class QLabel;

namespace tomarina {

// Shown while the program starts.
class SplashWindow : public Form {
    Q_OBJECT
  public:
    explicit SplashWindow(Forms& forms);
    void set_up() override;

    QLabel* product_name_label;
    QLabel* version_label;
    QLabel* platform_label;
    QLabel* product_line_label;
    QLabel* home_page_label;
    QLabel* notice_label;
    QLabel* warning_label;
    QLabel* picture;

  protected:
    void on_unload() override {}
};

// The product picture of the splash and About windows, size pixels square.
QPixmap product_picture(int size);

} // namespace tomarina
