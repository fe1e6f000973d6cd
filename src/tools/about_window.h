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

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Label1;
    QPushButton* cmdOK;
    QLabel* Image2;
    QFrame* Line1;
    QFrame* Line2;

    void cmdOK_Click();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The About window's data and publisher lines, separated by CR LF.
QString about_text(const QString& db_date);

} // namespace tomarina
