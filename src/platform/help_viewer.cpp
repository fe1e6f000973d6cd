#include "platform/help_viewer.h"

#include "platform/help_file.h"
#include "platform/platform.h"
#include "platform/platform_texts.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

namespace tomarina {

namespace {

// What a refused or unreadable picture shows: a small empty frame.
QImage placeholder_picture() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter paint(&image);
    paint.setPen(Qt::gray);
    paint.drawRect(0, 0, 15, 15);
    return image;
}

} // namespace

QImage help_image(const QString& help_file, const QUrl& address) {
    QImage image;
    if (const auto bytes = help_picture(help_file, address)) image.loadFromData(*bytes);
    // Anything but a picture would have the document load the address itself, whatever it names.
    if (image.isNull()) {
        static const QImage placeholder = placeholder_picture();
        image = placeholder;
    }
    return image;
}

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
        if (type == QTextDocument::ImageResource) return help_image(file, name);
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

// The help viewer: the help file shown at one topic, in a window of its own that a screen reader
// announces by its title.
HelpWindow::HelpWindow() {
    setObjectName(QStringLiteral("help_window"));
    setWindowTitle(platform_texts::help_title);
    view = new HelpView(this);
    view->setObjectName(QStringLiteral("help_text"));
    view->setAccessibleName(windowTitle());
    view->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    // Only the topics of the file itself: any other address would replace the page.
    view->setOpenLinks(false);
    connect(view, &QTextBrowser::anchorClicked, view, [v = view](const QUrl& link) {
        if (link.scheme().isEmpty() && link.host().isEmpty() && link.path().isEmpty() && link.hasFragment())
            v->go_to(link.fragment());
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    setFocusProxy(view);
    resize(640, 520);
}

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

void HelpWindow::show_topic(const QString& help_file, const QString& topic) {
    if (QWidget* active = QApplication::activeWindow(); active && active != this) view->opener = active;
    if (view->file != help_file) {
        view->file = help_file;
        if (const auto bytes = read_help_bytes(help_file)) {
            view->setHtml(keep_ideographic_spaces(QString::fromUtf8(*bytes)));
        } else {
            // A file that is there may still be no regular file, or too large for a help page.
            const QString& why = QFileInfo::exists(help_file) ? platform_texts::help_cannot_be_shown
                                                              : platform_texts::help_not_found;
            view->setHtml(platform_texts::help_not_shown.arg(help_file.toHtmlEscaped(), why));
        }
    }
    show();
    keep_on_screen(this);
    raise();
    activateWindow();
    view->setFocus();
    view->go_to(topic);
}

} // namespace tomarina
