#include "shared/form.h"

#include "data/steps.h"
#include "platform/nested_loop.h"
#include "shared/accessibility.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShowEvent>

namespace tomarina {

Form::Form(Forms& forms, const StoredWindowNames& stored, const QString& name)
    : QWidget(nullptr), forms_(forms), st_(forms.state()), pf_(forms.platform()), stored_(stored) {
    install_window_roles();
    setObjectName(name);
    setWindowTitle(app_title);
}

Form::~Form() = default;

void Form::restore_position() {
    if (stored_.number == 0) return;
    try_step("place", [this] {
        const FormPosition& p = st_.settings.form(stored_.number);
        move(twips_to_px(p.left), twips_to_px(p.top));
    });
}

void Form::save_position() {
    if (stored_.number == 0) return;
    try_step("save_position", [this] {
        FormPosition p = st_.settings.form(stored_.number);
        const QPoint at = pos();
        // A coordinate past the 16-bit limit is not saved and stops the saving: a top within it is kept
        // when only the left is past it.
        try_step("twips", [&] {
            p.top = to_integer(px_to_twips(at.y()));
            p.left = to_integer(px_to_twips(at.x()));
        });
        st_.settings_store.set_position(stored_.number, p);
    });
}

void Form::close_window() {
    save_position();
    unload();
}

void Form::unload() {
    if (unloading_) return;
    unloading_ = true;
    try_step("form_unload", [this] { on_unload(); });
    forms_.forget(this);
    const bool had_keyboard = isActiveWindow();
    // A window that closes itself while no window has the keyboard (a message box just gone, a page
    // handed to the browser) would leave it nowhere: the window used before takes it, staying behind
    // whatever the browser brings up.
    const bool keyboard_nowhere = !QApplication::activeWindow() &&
                                  !testAttribute(Qt::WA_ShowWithoutActivating) && !forms_.end_requested();
    hide();
    if (had_keyboard || keyboard_nowhere)
        if (Form* next = forms_.activate_previous(this, had_keyboard); next && !parting_words_.isEmpty())
            next->announce(parting_words_);
    // Code around a nested loop may still hold the window: it goes only once the loops have returned.
    NestedLoop::after(this, [this] { deleteLater(); });
}

void Form::on_unload() {
    pf_.close_help(st_.full_path(st_.help_file));
}

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
    if (!announcement_) announcement_ = new_announcement(this);
    announce_with(announcement_, text);
}

void Form::show_help() {
    pf_.show_help(st_.full_path(st_.help_file), stored_.help_anchor.toString());
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) tell_current_item(view);
    if (event->type() == QEvent::KeyPress && window_key(static_cast<QKeyEvent*>(event))) return true;
    return QWidget::eventFilter(watched, event);
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (!window_key(event)) QWidget::keyPressEvent(event);
}

bool Form::window_key(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && watching_esc_) {
        close_window();
        return true;
    }
    if (event->key() == Qt::Key_F1) {
        show_help();
        return true;
    }
    return false;
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !unloading_) forms_.note_active(this);
    return QWidget::event(event);
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) try_step("keep on screen", [this] { keep_on_screen(this); });
}

void Form::closeEvent(QCloseEvent* event) {
    // The frame's close box unloads the window without its end step.
    event->ignore();
    unload();
}

} // namespace tomarina
