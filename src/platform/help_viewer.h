#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <QWidget>

namespace tomarina {

class HelpView;

// The picture the help shows for an address: the one help_picture allows, decoded, or else a placeholder,
// never a null image.
QImage help_image(const QString& help_file, const QUrl& address);

// The help viewer: the help file shown at one topic, in a window of its own that a screen reader
// announces by its title.
class HelpWindow : public QWidget {
  public:
    HelpWindow();
    // Shows help_file (read again only when it is another file) with the caret at topic.
    void show_topic(const QString& help_file, const QString& topic);

  private:
    HelpView* view;
};

} // namespace tomarina
