#include "shared/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QPointer>

namespace tomarina {

namespace {

class Announcement : public QWidget {
  public:
    using QWidget::QWidget;
    QString text;
};

class AccessibleAnnouncement : public QAccessibleWidget {
  public:
    explicit AccessibleAnnouncement(Announcement* w) : QAccessibleWidget(w, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<Announcement*>(widget())->text : QString();
    }
};

// A plain frame groups the controls it holds; one that holds nothing is drawn as a line. Asked each
// time: the frame may be met before its controls exist.
class AccessibleFrame : public QAccessibleWidget {
  public:
    explicit AccessibleFrame(QFrame* w) : QAccessibleWidget(w, QAccessible::Grouping) {}
    QAccessible::Role role() const override {
        const auto shape = static_cast<QFrame*>(widget())->frameShape();
        const bool line = shape == QFrame::HLine || shape == QFrame::VLine ||
                          !widget()->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        return line ? QAccessible::Separator : QAccessible::Grouping;
    }
};

// Screen readers follow the focus inside the window whose role is a window and that is active. A
// window of plain widgets reaches the accessibility bus as an anonymous container, and a plain frame
// inside it as a "frame", which a screen reader takes for the window, one that never becomes active:
// the windows say they are windows, and frames are groups (or separators, when they are lines).
QAccessibleInterface* window_roles(const QString& class_name, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (auto* a = dynamic_cast<Announcement*>(w)) return new AccessibleAnnouncement(a);
    if (w->isWindow() && w->inherits("tomarina::Form"))
        return new QAccessibleWidget(w, w->windowType() == Qt::Dialog ? QAccessible::Dialog
                                                                      : QAccessible::Window);
    if (class_name == u"QFrame") return new AccessibleFrame(static_cast<QFrame*>(w));
    return nullptr;
}

} // namespace

void install_window_roles() {
    static const bool installed = [] {
        QAccessible::installFactory(window_roles);
        return true;
    }();
    Q_UNUSED(installed);
}

QWidget* new_announcement(QWidget* parent) {
    auto* a = new Announcement(parent);
    a->setObjectName(QStringLiteral("announcement"));
    a->setGeometry(0, 0, 0, 0);
    a->hide();
    return a;
}

void announce_with(QWidget* announcement, const QString& text) {
    announcement->hide();
    static_cast<Announcement*>(announcement)->text = text;
    if (!text.isEmpty()) announcement->show();
}

// The view sets its current row as the focus arrives, and a screen reader passes over the older of two
// focus events that come together and says only "list with 47 items": the current row is told again
// once the view has the focus.
void tell_current_item(QAbstractItemView* view) {
    QMetaObject::invokeMethod(
        view,
        [view = QPointer<QAbstractItemView>(view)] {
            if (!view || !view->hasFocus() || !QAccessible::isActive()) return;
            const QModelIndex at = view->currentIndex();
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
            QAccessibleTableInterface* table = iface ? iface->tableInterface() : nullptr;
            if (!at.isValid() || !table) return;
            QAccessibleInterface* cell = table->cellAt(at.row(), at.column());
            const int child = cell ? iface->indexOfChild(cell) : -1;
            if (child < 0) return;
            QAccessibleEvent focus(view, QAccessible::Focus);
            focus.setChild(child);
            QAccessible::updateAccessibility(&focus);
        },
        Qt::QueuedConnection);
}

void describe(QWidget* w, const QString& text) {
    w->setAccessibleDescription(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

} // namespace tomarina
