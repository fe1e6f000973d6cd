#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>
#include <functional>

namespace tomarina {

// Draws list rows whose parts are separated by TAB characters at fixed tab stops, as the system's list
// box with tab stops does, so that rows built with one or two TABs line up in columns.
class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    // stop_chars: the distance between two stops in full-width characters of the list's font.
    TabStopDelegate(double stop_chars, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The distance between two stops in the font, in pixels.
    qreal stop_distance(const QFont& font) const;
    // Where each TAB-separated part of text starts, from the left of the text in pixels.
    QList<qreal> part_positions(const QString& text, const QFont& font) const;

  private:
    double stop_chars_;
};

// The texts of a list box's rows, in order.
QStringList row_texts(const QListWidget* list);
// The first selected row (from 0), or -1 when none is selected.
int first_selected_row(const QListWidget* list);
// The button is enabled while a row of the list is selected.
void enable_while_selected(QListWidget* list, QWidget* button);
// A double click on a row, or Enter on the list, runs act. The empty part of the list holds no row and
// runs nothing.
void act_on_row(QListWidget* list, std::function<void()> act);

// Gives a list box tab stops every stop_chars full-width characters.
void set_tab_stops(QListWidget* list, double stop_chars);

} // namespace tomarina
