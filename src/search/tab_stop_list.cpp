#include "search/tab_stop_list.h"

#include "shared/keys.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>

namespace tomarina {

TabStopDelegate::TabStopDelegate(double stop_chars, QObject* parent)
    : QStyledItemDelegate(parent), stop_chars_(stop_chars) {}

qreal TabStopDelegate::stop_distance(const QFont& font) const {
    return stop_chars_ * QFontMetricsF(font).horizontalAdvance(QChar(0x56FD));
}

QList<qreal> TabStopDelegate::part_positions(const QString& text, const QFont& font) const {
    const QFontMetricsF fm(font);
    const qreal stop = std::max<qreal>(1.0, stop_distance(font));
    QList<qreal> at;
    qreal x = 0;
    const QStringList parts = text.split(u'\t');
    for (qsizetype k = 0; k < parts.size(); ++k) {
        if (k > 0) x = (std::floor(x / stop) + 1) * stop; // a TAB goes on to the next stop
        at << x;
        x += fm.horizontalAdvance(parts[k]);
    }
    return at;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect text_rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    const QPalette::ColorRole role =
        (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, role));
    painter->setClipRect(text_rect);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QList<qreal> at = part_positions(text, opt.font);
    const QStringList parts = text.split(u'\t');
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QRectF r(text_rect.left() + margin + at[k], text_rect.top(), text_rect.width(),
                       text_rect.height());
        painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, parts[k]);
    }
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    const QList<qreal> at = part_positions(text, opt.font);
    const qreal width =
        at.isEmpty() ? 0 : at.last() + QFontMetricsF(opt.font).horizontalAdvance(text.split(u'\t').last());
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(int(std::ceil(width)) + 8);
    return size;
}

QStringList row_texts(const QListWidget* list) {
    QStringList rows;
    for (int r = 0; r < list->count(); ++r) rows << list->item(r)->text();
    return rows;
}

int first_selected_row(const QListWidget* list) {
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->isSelected()) return r;
    return -1;
}

namespace {

class EnterFilter : public QObject {
  public:
    EnterFilter(QObject* parent, std::function<void()> act) : QObject(parent), act_(std::move(act)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (!is_enter(key)) return false;
        act_();
        return true;
    }

  private:
    std::function<void()> act_;
};

} // namespace

void enable_while_selected(QListWidget* list, QWidget* button) {
    QObject::connect(list, &QListWidget::itemSelectionChanged, button,
                     [list, button] { button->setEnabled(!list->selectedItems().isEmpty()); });
}

void act_on_row(QListWidget* list, std::function<void()> act) {
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [act] { act(); });
    list->installEventFilter(new EnterFilter(list, std::move(act)));
}

void set_tab_stops(QListWidget* list, double stop_chars) {
    list->setItemDelegate(new TabStopDelegate(stop_chars, list));
}

} // namespace tomarina
