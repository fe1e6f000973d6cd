#include "shared/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QValidator>
#include <algorithm>
#include <tuple>

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

// One run without attributes over the whole text. A screen reader builds what it says of a line from
// the runs; the toolkit's own runs are empty, and the end of the text went unsaid.
QString whole_run(int characters, int* start, int* end) {
    *start = 0;
    *end = characters;
    return {};
}

// A one-line box, editable or read-only, read as the toolkit reads it but for its runs of attributes.
class AccessibleLineBox : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
  public:
    explicit AccessibleLineBox(QLineEdit* w) : QAccessibleWidget(w, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value && shown()) return box()->text();
        QString s = QAccessibleWidget::text(t);
        if (s.isEmpty() && t == QAccessible::Description) s = box()->placeholderText();
        return s;
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value)
            set_checked(text);
        else
            QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        st.editable = !box()->isReadOnly();
        st.readOnly = box()->isReadOnly();
        st.passwordEdit = !shown();
        st.selectableText = true;
        return st;
    }

    QString attributes(int, int* start, int* end) const override {
        return whole_run(characterCount(), start, end);
    }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !box()->hasSelectedText()) return;
        *start = int(box()->selectionStart());
        *end = *start + int(box()->selectedText().size());
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) box()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) box()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        if (start > end || !shown()) return {};
        return box()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(box()->text().size()); }
    QRect characterRect(int offset) const override {
        if (!shown()) return {};
        const QString t = box()->text();
        const QFontMetrics fm = box()->fontMetrics();
        const int at = std::clamp(offset, 0, int(t.size()));
        // From the caret, the one place the box tells, by the width of the text in between.
        QRect r = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        r.translate(fm.horizontalAdvance(t.left(at)) - fm.horizontalAdvance(t.left(box()->cursorPosition())),
                    0);
        r.setWidth(at < t.size() ? std::max(1, fm.horizontalAdvance(t.at(at))) : 1);
        return QRect(box()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        box()->setCursorPosition(end);
        box()->setCursorPosition(start);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        if (!shown()) return hidden(start, end);
        return QAccessibleTextInterface::textBeforeOffset(offset, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        if (!shown()) return hidden(start, end);
        return QAccessibleTextInterface::textAfterOffset(offset, type, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        if (!shown()) return hidden(start, end);
        return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
    }

    // Offsets out of the text are held to it: a text is never padded out to reach them.
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        const int size = characterCount();
        start = std::clamp(start, 0, size);
        end = std::clamp(end, start, size);
        set_checked(box()->text().replace(start, end - start, text));
    }

  private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
    bool shown() const { return box()->echoMode() == QLineEdit::Normal; }
    static QString hidden(int* start, int* end) {
        *start = *end = -1;
        return {};
    }
    // What a screen reader writes goes through the box's own check, as what is typed does.
    void set_checked(QString text) {
        if (box()->isReadOnly()) return;
        if (const QValidator* check = box()->validator()) {
            int at = 0;
            if (check->validate(text, at) != QValidator::Acceptable) return;
        }
        box()->setText(text);
    }
};

// A read-only text of several lines with a caret that the keyboard moves, such as the help, read by
// the lines as they are shown. The toolkit's own reading of a browser is a label, which has no caret
// to follow.
class AccessibleTextView : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit AccessibleTextView(QTextBrowser* w) : QAccessibleWidget(w, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        st.readOnly = true;
        st.multiLine = true;
        return st;
    }
    QString text(QAccessible::Text t) const override { return QAccessibleWidget::text(t); }

    void selection(int index, int* start, int* end) const override {
        const QTextCursor c = view()->textCursor();
        *start = *end = 0;
        if (index == 0 && c.hasSelection()) {
            *start = c.selectionStart();
            *end = c.selectionEnd();
        }
    }
    int selectionCount() const override { return view()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override {
        QTextCursor c = view()->textCursor();
        c.clearSelection();
        view()->setTextCursor(c);
    }
    void setSelection(int, int start, int end) override {
        QTextCursor c = view()->textCursor();
        c.setPosition(clamped(start));
        c.setPosition(clamped(end), QTextCursor::KeepAnchor);
        view()->setTextCursor(c);
    }
    int cursorPosition() const override { return view()->textCursor().position(); }
    void setCursorPosition(int position) override {
        QTextCursor c = view()->textCursor();
        c.setPosition(clamped(position));
        view()->setTextCursor(c);
    }
    QString text(int start, int end) const override {
        QTextCursor c(view()->document());
        c.setPosition(clamped(start));
        c.setPosition(clamped(end), QTextCursor::KeepAnchor);
        QString text = c.selectedText();
        for (QChar& ch : text)
            if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator) ch = u'\n';
        return text;
    }
    int characterCount() const override { return std::max(0, view()->document()->characterCount() - 1); }
    QRect characterRect(int offset) const override {
        QTextCursor c(view()->document());
        c.setPosition(clamped(offset));
        QRect r = view()->cursorRect(c);
        r.setWidth(std::max(1, view()->fontMetrics().averageCharWidth()));
        return QRect(view()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return view()->cursorForPosition(view()->viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int) override {
        QTextCursor c(view()->document());
        c.setPosition(clamped(start));
        QScrollBar* bar = view()->verticalScrollBar();
        bar->setValue(bar->value() + view()->cursorRect(c).top());
    }
    QString attributes(int, int* start, int* end) const override {
        return whole_run(characterCount(), start, end);
    }
    // Lines are the lines as shown: a paragraph is several of them.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
        std::tie(*start, *end) = line_at(offset);
        return text(*start, *end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, type, start, end);
        const int first = line_at(offset).first;
        if (first == 0) {
            *start = *end = 0;
            return {};
        }
        return textAtOffset(first - 1, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, type, start, end);
        const int last = line_at(offset).second;
        if (last >= characterCount()) {
            *start = *end = characterCount();
            return {};
        }
        return textAtOffset(last, type, start, end);
    }

  private:
    QTextBrowser* view() const { return static_cast<QTextBrowser*>(widget()); }
    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
    // The shown line that holds the offset, with the line break that ends it.
    std::pair<int, int> line_at(int offset) const {
        const QTextBlock block = view()->document()->findBlock(clamped(offset));
        if (!block.isValid()) return {characterCount(), characterCount()};
        int start = block.position();
        int end = block.position() + block.length() - 1;
        const QTextLayout* layout = block.layout();
        const QTextLine line = layout && layout->lineCount() > 0
                                   ? layout->lineForTextPosition(clamped(offset) - start)
                                   : QTextLine();
        if (line.isValid()) {
            end = std::min(end, start + line.textStart() + line.textLength());
            start += line.textStart();
        }
        if (end == block.position() + block.length() - 1 && end < characterCount()) ++end;
        return {start, end};
    }
};

// Screen readers follow the focus inside the window whose role is a window and that is active. A
// window of plain widgets reaches the accessibility bus as an anonymous container, and a plain frame
// inside it as a "frame", which a screen reader takes for the window, one that never becomes active:
// the windows say they are windows, and frames are groups (or separators, when they are lines). The
// text boxes are read whole (above).
QAccessibleInterface* window_roles(const QString& class_name, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (auto* a = dynamic_cast<Announcement*>(w)) return new AccessibleAnnouncement(a);
    if (w->isWindow() && w->inherits("tomarina::Form"))
        return new QAccessibleWidget(w, w->windowType() == Qt::Dialog ? QAccessible::Dialog
                                                                      : QAccessible::Window);
    if (class_name == u"QFrame") return new AccessibleFrame(static_cast<QFrame*>(w));
    if (class_name == u"QLineEdit") return new AccessibleLineBox(static_cast<QLineEdit*>(w));
    if (class_name == u"QTextBrowser") return new AccessibleTextView(static_cast<QTextBrowser*>(w));
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
