#include "platform/platform.h"

#include "platform/disk_listing.h"
#include "platform/help_viewer.h"
#include "platform/nested_loop.h"
#include "platform/on_screen.h"
#include "platform/platform_texts.h"
#include "platform/program_start.h"
#include "platform/web_address.h"
#include "platform/xdg_handler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

namespace tomarina {

void keep_on_screen(QWidget* window) {
    QList<QRect> areas;
    qsizetype primary = 0;
    for (QScreen* s : QGuiApplication::screens()) {
        if (s == QGuiApplication::primaryScreen()) primary = areas.size();
        areas << s->availableGeometry();
    }
    // The frame is known only once the window manager has framed the window.
    const QRect frame = window->isVisible() ? window->frameGeometry() : window->geometry();
    const bool resizable = window->minimumSize() != window->maximumSize();
    const QRect kept = kept_on_screen(frame, areas, primary, resizable);
    if (kept == frame) return;
    if (kept.size() != frame.size()) window->resize(window->size() - frame.size() + kept.size());
    window->move(kept.topLeft());
}

DesktopPlatform::~DesktopPlatform() {
    delete help_;
}

MsgAnswer DesktopPlatform::message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                                   MsgButtons buttons) {
    const MsgAnswer unanswered = buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
    if (ending_) return unanswered;
    // On the heap and guarded: the parent may be deleted while the box waits, and takes the box along.
    QPointer<QMessageBox> box = new QMessageBox(parent);
    box->setWindowTitle(title);
    box->setText(text);
    switch (icon) {
    case MsgIcon::None:
        box->setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box->setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Exclamation:
        box->setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box->setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box->setIcon(QMessageBox::Question);
        break;
    }
    if (buttons == MsgButtons::OkCancel) {
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->button(QMessageBox::Cancel)->setText(platform_texts::cancel_caption);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->setDefaultButton(QMessageBox::Ok);
    // Screen readers name every part: the icon by what it signals, the row of buttons as such.
    if (auto* image = box->findChild<QWidget*>(QStringLiteral("qt_msgboxex_icon_label")))
        image->setAccessibleName(platform_texts::icon_names[std::size_t(icon)]);
    if (auto* row = box->findChild<QWidget*>(QStringLiteral("qt_msgbox_buttonbox")))
        row->setAccessibleName(platform_texts::answer_row_name);
    const QPointer<QWidget> owner = parent ? parent->window() : nullptr;
    waiting_.append(box);
    int answer = QMessageBox::Cancel;
    {
        NestedLoop loop;
        answer = box->exec();
    }
    waiting_.removeAll(box);
    waiting_.removeAll(nullptr);
    const bool ok = box && answer == QMessageBox::Ok;
    delete box.data();
    // The keyboard goes back to the window that asked, as the desktop would give it.
    if (owner && owner->isVisible()) owner->activateWindow();
    if (ending_) return unanswered;
    return ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

void DesktopPlatform::answer_waiting_messages() {
    ending_ = true;
    for (const QPointer<QMessageBox>& box : std::as_const(waiting_))
        if (box)
            box->done(box->standardButtons() & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::Ok);
}

bool DesktopPlatform::start_program(const QString& program, const QString& address,
                                    std::function<void()> failed) {
    // The addresses come from the directory: nothing but a web address reaches another program.
    if (program.isEmpty() || !is_web_address(address)) return false;
    return start_watched_program(program, address, &started_, std::move(failed));
}

std::optional<RegistryValue> DesktopPlatform::registry_value(const QString& key, const QString& value) {
    return desktop_registry_value(key, value);
}

QStringList DesktopPlatform::disk_roots() {
    return disk_roots_of_system();
}

QStringList DesktopPlatform::list_files(const QString& folder) {
    return disk_list_files(folder);
}

QStringList DesktopPlatform::list_folders(const QString& folder) {
    return disk_list_folders(folder);
}

void DesktopPlatform::show_help(const QString& help_file, const QString& topic) {
    if (!help_) help_ = new HelpWindow;
    help_->show_topic(help_file, topic);
}

void DesktopPlatform::close_help(const QString&) {
    if (help_) help_->hide();
}

void DesktopPlatform::set_ime(QWidget* box, bool japanese) {
    if (box) box->setAttribute(Qt::WA_InputMethodEnabled, japanese);
}

} // namespace tomarina
