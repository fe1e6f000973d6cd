#include "platform/platform.h"

#include "data/text_rules.h"
#include "platform/disk_listing.h"
#include "platform/help_file.h"
#include "platform/nested_loop.h"
#include "platform/web_address.h"
#include "platform/xdg_handler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tomarina {

namespace {

// The help text: read-only, with a caret that the keyboard moves, so that a screen reader reads it line
// by line. It loads nothing but the pictures of the help file.
class HelpView : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    QString file;
    // The window F1 was pressed in, which has the keyboard again when the help closes.
    QPointer<QWidget> opener;

    // The caret at the heading of the topic, and the topic at the top of the view.
    void go_to(const QString& topic) {
        for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().anchorNames().contains(topic)) {
                    QTextCursor at(b);
                    setTextCursor(at);
                    scrollToAnchor(topic);
                    return;
                }
        moveCursor(QTextCursor::Start);
    }

  protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource)
            if (auto bytes = help_picture(file, name)) return *bytes;
        // Never nothing: the document would then read the address itself.
        return QByteArray("");
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            window()->hide();
            if (opener && opener->isVisible()) {
                opener->raise();
                opener->activateWindow();
            }
        } else
            QTextBrowser::keyPressEvent(event);
    }
};

} // namespace

// The help viewer: the help file shown at one topic, in a window of its own that a screen reader
// announces by its title.
class DesktopPlatform::HelpWindow : public QWidget {
  public:
    HelpWindow() {
        setObjectName(QStringLiteral("help_window"));
        setWindowTitle(QStringLiteral("トマリナホテル情報＆予約 ヘルプ"));
        view = new HelpView(this);
        view->setObjectName(QStringLiteral("help_text"));
        view->setAccessibleName(windowTitle());
        view->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
        // Only the topics of the file itself: any other address would replace the page.
        view->setOpenLinks(false);
        connect(view, &QTextBrowser::anchorClicked, view, [v = view](const QUrl& link) {
            if (link.scheme().isEmpty() && link.host().isEmpty() && link.path().isEmpty() &&
                link.hasFragment())
                v->go_to(link.fragment());
        });
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
        setFocusProxy(view);
        resize(640, 520);
    }
    HelpView* view;
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
    HelpView* view = help_->view;
    if (QWidget* active = QApplication::activeWindow(); active && active != help_) view->opener = active;
    if (view->file != help_file) {
        view->file = help_file;
        if (const auto bytes = read_help_bytes(help_file)) {
            view->setHtml(keep_ideographic_spaces(QString::fromUtf8(*bytes)));
        } else {
            // A file that is there may still be no regular file, or too large for a help page.
            const QString why = QFileInfo::exists(help_file) ? QStringLiteral("を表示できません")
                                                             : QStringLiteral("が見つかりません");
            view->setHtml(
                QStringLiteral("<p>ヘルプファイル %1 %2。</p>").arg(help_file.toHtmlEscaped(), why));
        }
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
    view->setFocus();
    view->go_to(topic);
}

void DesktopPlatform::close_help(const QString&) {
    if (help_) help_->hide();
}

void DesktopPlatform::set_ime(QWidget* box, bool japanese) {
    if (box) box->setAttribute(Qt::WA_InputMethodEnabled, japanese);
}

} // namespace tomarina
