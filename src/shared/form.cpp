#include "shared/form.h"

#include "data/steps.h"
#include "data/text_rules.h"
#include "platform/nested_loop.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QValidator>
#include <algorithm>
#include <cmath>

namespace tomarina {

namespace {
double logical_dpi() {
    if (const QScreen* s = QGuiApplication::primaryScreen()) return s->logicalDotsPerInch();
    return 96.0;
}
} // namespace

int twips_to_px(int twips) {
    return int(std::lround(twips * logical_dpi() / 1440.0));
}
int px_to_twips(int px) {
    return int(std::lround(px * 1440.0 / logical_dpi()));
}
QRect twips_rect(int left, int top, int width, int height) {
    return QRect(twips_to_px(left), twips_to_px(top), twips_to_px(width), twips_to_px(height));
}

namespace {

// What announce() says: a notification, which screen readers speak as it comes into view.
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
    if (w->isWindow() && qobject_cast<Form*>(w)) return new QAccessibleWidget(w, QAccessible::Window);
    if (class_name == u"QFrame") return new AccessibleFrame(static_cast<QFrame*>(w));
    return nullptr;
}

// A list or grid taking the focus tells its current row first (the view sets it as the focus arrives)
// and itself after; a screen reader passes over the older of two focus events that come together and
// says only "list with 47 items". The current row is told again once the view has the focus.
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

} // namespace

std::optional<KeyAscii> enter_key(const QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && event->key() == Qt::Key_J) return KeyAscii::line_feed;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return ctrl ? KeyAscii::line_feed : KeyAscii::carriage_return;
    return std::nullopt;
}

Form::Form(Forms& forms, int number, const QString& name)
    : QWidget(nullptr), forms_(forms), st_(forms.state()), pf_(forms.platform()), number_(number) {
    static const bool roles_installed = [] {
        QAccessible::installFactory(window_roles);
        return true;
    }();
    Q_UNUSED(roles_installed);
    setObjectName(name);
    setWindowTitle(app_title);
}

Form::~Form() = default;

void Form::set_form1() {
    if (number_ == 0) return;
    try_step("place", [this] {
        const FormPosition& p = st_.settings.form(number_);
        move(twips_to_px(p.left), twips_to_px(p.top));
    });
}

void Form::save_position() {
    if (number_ == 0) return;
    try_step("save_position", [this] {
        FormPosition& p = st_.settings.form(number_);
        const QPoint at = pos();
        p.top = to_integer(px_to_twips(at.y()));
        p.left = to_integer(px_to_twips(at.x()));
    });
}

void Form::end_proc() {
    save_position();
    unload();
}

void Form::unload() {
    if (unloading_) return;
    unloading_ = true;
    try_step("form_unload", [this] { form_unload(); });
    forms_.forget(this);
    const bool had_keyboard = isActiveWindow();
    hide();
    if (had_keyboard) forms_.activate_previous(this);
    // Code around a nested loop may still hold the window: it goes only once the loops have returned.
    NestedLoop::after(this, [this] { deleteLater(); });
}

void Form::form_unload() {
    pf_.close_help(st_.full_path(st_.help_file));
}

namespace {

// Every text box keeps what is typed or pasted in the one input form, so the same keys give the same
// text in every window.
class InputForm : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        QString kept = input_form(input);
        if (kept != input) input = std::move(kept);
        return Acceptable;
    }
};

} // namespace

void Form::watch_esc() {
    watching_esc_ = true;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QLineEdit*>(w); box && !box->validator() && !box->isReadOnly())
            box->setValidator(new InputForm(box));
        // A box that only shows a text shows its beginning, wherever the text ends.
        if (auto* box = qobject_cast<QLineEdit*>(w); box && box->isReadOnly())
            connect(box, &QLineEdit::textChanged, box, [box] { box->setCursorPosition(0); });
        w->installEventFilter(this);
    }
}

void Form::announce(const QString& text) {
    if (!announcement_) {
        auto* a = new Announcement(this);
        a->setObjectName(QStringLiteral("announcement"));
        a->setGeometry(0, 0, 0, 0);
        announcement_ = a;
    }
    announcement_->hide();
    static_cast<Announcement*>(announcement_)->text = text;
    if (!text.isEmpty()) announcement_->show();
}

void Form::show_help() {
    pf_.show_help(st_.full_path(st_.help_file), objectName());
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) tell_current_item(view);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && watching_esc_) {
            end_proc();
            return true;
        }
        if (key == Qt::Key_F1) {
            show_help();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1)
        show_help();
    else if (event->key() == Qt::Key_Escape && watching_esc_)
        end_proc();
    else
        QWidget::keyPressEvent(event);
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !unloading_) forms_.note_active(this);
    return QWidget::event(event);
}

void Form::closeEvent(QCloseEvent* event) {
    // The frame's close box unloads the window without its end step.
    event->ignore();
    unload();
}

Forms::~Forms() {
    for (auto& [type, w] : windows_) delete w.data();
}

Form* Forms::show(FormKind kind) {
    const auto it = kinds_.find(kind);
    if (it == kinds_.end()) return nullptr;
    Form* w = it->second.load(*this);
    if (w) bring_up(w);
    return w;
}

Form* Forms::loaded(FormKind kind) const {
    const auto k = kinds_.find(kind);
    if (k == kinds_.end()) return nullptr;
    const auto it = windows_.find(k->second.type);
    if (it == windows_.end() || !it->second || it->second->is_unloading()) return nullptr;
    return it->second.data();
}

void Forms::browser_kind_changed() {
    // A copy: a window may close while it follows.
    QList<QPointer<Form>> open;
    for (const auto& [type, w] : windows_)
        if (w && !w->is_unloading()) open << w;
    for (const QPointer<Form>& w : open)
        if (w && !w->is_unloading()) w->browser_kind_changed();
}

void Forms::bring_up(Form* w) {
    w->show();
    w->raise();
    // A window shown without taking the focus leaves it where the user is working.
    if (!w->testAttribute(Qt::WA_ShowWithoutActivating)) w->activateWindow();
    // Noted at once: the window system tells the activation later, after the caller may have closed
    // the window that opened this one.
    note_active(w);
}

void Forms::note_active(Form* f) {
    std::erase_if(activation_, [f](const QPointer<Form>& w) { return !w || w == f; });
    activation_.emplace_back(f);
}

void Forms::activate_previous(Form* closing) {
    std::vector<Form*> order;
    for (const auto& w : activation_) order.push_back(w.data());
    // Windows never active yet (the main menu under the first window) come after those that were.
    for (const auto& [type, w] : windows_)
        if (std::find(order.begin(), order.end(), w.data()) == order.end()) order.insert(order.begin(), w);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Form* w = *it;
        // A window that never takes the focus (the progress bar) is not given it back either.
        if (!w || w == closing || w->is_unloading() || !w->isVisible() ||
            w->testAttribute(Qt::WA_ShowWithoutActivating))
            continue;
        w->raise();
        w->activateWindow();
        return;
    }
}

void Forms::forget(Form* f) {
    for (auto& [type, w] : windows_)
        if (w == f) w = nullptr;
    std::erase_if(activation_, [f](const QPointer<Form>& w) { return !w || w == f; });
}

void Forms::end_program() {
    if (ended_) return;
    ended_ = true;
    for (auto& [type, w] : windows_) {
        if (!w) continue;
        Form* f = w.data();
        w = nullptr;
        f->unloading_ = true;
        f->hide();
        NestedLoop::after(f, [f] { f->deleteLater(); });
    }
    if (on_end) on_end();
}

void Forms::note_end_request() {
    end_requested_ = true;
    platform_.answer_waiting_messages();
}

} // namespace tomarina
