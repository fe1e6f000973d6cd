#include "shared/form.h"

#include "data/steps.h"
#include "data/text_rules.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QValidator>
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

Form::Form(Forms& forms, int number, const QString& name)
    : QWidget(nullptr), forms_(forms), st_(forms.state()), pf_(forms.platform()), number_(number) {
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
    hide();
    deleteLater();
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
    for (QWidget* w : findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QLineEdit*>(w); box && !box->validator() && !box->isReadOnly())
            box->setValidator(new InputForm(box));
        const bool button = qobject_cast<QAbstractButton*>(w) && !qobject_cast<QCheckBox*>(w);
        const bool text =
            qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
        const bool list = qobject_cast<QAbstractItemView*>(w);
        w->setProperty("tomarina_esc", button || text || list);
        w->installEventFilter(this);
    }
}

void Form::show_help() {
    pf_.show_help(st_.full_path(st_.help_file), objectName());
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && watched->property("tomarina_esc").toBool()) {
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
    else
        QWidget::keyPressEvent(event);
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

void Forms::bring_up(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

void Forms::forget(Form* f) {
    for (auto& [type, w] : windows_)
        if (w == f) w = nullptr;
}

void Forms::end_program() {
    for (auto& [type, w] : windows_) {
        if (!w) continue;
        Form* f = w.data();
        w = nullptr;
        f->unloading_ = true;
        f->hide();
        f->deleteLater();
    }
    if (on_end) on_end();
}

} // namespace tomarina
