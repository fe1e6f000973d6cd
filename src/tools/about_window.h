#pragma once

#include "shared/form.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tomarina {

// The About window: the version, the date of the hotel data and the publisher's lines.
class AboutWindow : public Form {
    Q_OBJECT
  public:
    explicit AboutWindow(Forms& forms);

    void restore_position() override;

    QLabel* title_label;
    QLabel* version_label;
    QLabel* data_label;
    QPushButton* ok_button;
    QLabel* picture;
    QFrame* grey_line;
    QFrame* white_line;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The About window's data and publisher lines, separated by CR LF.
QString about_text(const QString& db_date);

} // namespace tomarina
