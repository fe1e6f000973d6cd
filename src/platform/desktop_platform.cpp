#include "platform/platform.h"

#include "data/regular_file.h"
#include "data/text_rules.h"
#include "platform/disk_listing.h"
#include "platform/nested_loop.h"
#include "platform/web_address.h"
#include "platform/xdg_handler.h"

#include <QAbstractButton>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTextBrowser>
#include <QUrl>

namespace tomarina {

// The help viewer: the help file shown at one topic.
class DesktopPlatform::HelpWindow : public QTextBrowser {
  public:
    HelpWindow() {
        setObjectName(QStringLiteral("help_window"));
        setWindowTitle(QStringLiteral("トマリナホテル情報＆予約 ヘルプ"));
        setOpenExternalLinks(false);
        resize(640, 520);
    }
    QString file;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape)
            hide();
        else
            QTextBrowser::keyPressEvent(event);
    }
};

namespace {

// Captions set apart with ideographic spaces (「保　　守」) keep them: HTML would fold a run of them into
// one blank. Only text outside the tags of the body is touched.
QString keep_ideographic_spaces(const QString& html) {
    constexpr QChar wide_space(0x3000);
    const qsizetype head_end = html.indexOf(QStringLiteral("</head>"), 0, Qt::CaseInsensitive);
    qsizetype i = head_end < 0 ? 0 : head_end;
    QString out = html.left(i);
    bool in_tag = false;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c == u'<') in_tag = true;
        if (c == u'>') in_tag = false;
        if (in_tag || c != wide_space) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < html.size() && html[end] == wide_space) ++end;
        out += QStringLiteral("<span style=\"white-space:pre-wrap\">") + html.mid(i, end - i) +
               QStringLiteral("</span>");
        i = end;
    }
    return out;
}

} // namespace

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
        box->button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    box->button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box->setDefaultButton(QMessageBox::Ok);
    // Screen readers name every part: the icon by what it signals, the row of buttons as such.
    static const QString icon_names[] = {QString(), QStringLiteral("情報"), QStringLiteral("注意"),
                                         QStringLiteral("エラー"), QStringLiteral("質問")};
    if (auto* image = box->findChild<QWidget*>(QStringLiteral("qt_msgboxex_icon_label")))
        image->setAccessibleName(icon_names[int(icon)]);
    if (auto* row = box->findChild<QWidget*>(QStringLiteral("qt_msgbox_buttonbox")))
        row->setAccessibleName(QStringLiteral("応答"));
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
        if (box) box->done(box->standardButtons() & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::Ok);
}

bool DesktopPlatform::start_program(const QString& program, const QString& address) {
    // The addresses come from the directory: nothing but a web address reaches another program.
    if (program.isEmpty() || !is_web_address(address)) return false;
    return QProcess::startDetached(program, {address});
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
    if (help_->file != help_file) {
        QFile f;
        if (open_regular_file(f, help_file)) {
            help_->setHtml(keep_ideographic_spaces(QString::fromUtf8(f.readAll())));
        } else {
            help_->setHtml(
                QStringLiteral("<p>ヘルプファイル %1 が見つかりません。</p>").arg(help_file.toHtmlEscaped()));
        }
        help_->file = help_file;
    }
    help_->scrollToAnchor(topic);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void DesktopPlatform::close_help(const QString&) {
    if (help_) help_->hide();
}

void DesktopPlatform::set_ime(QWidget* box, bool japanese) {
    if (box) box->setAttribute(Qt::WA_InputMethodEnabled, japanese);
}

} // namespace tomarina
