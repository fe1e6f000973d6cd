#include "browser/browser_window.h"

#include "browser/browser_lookup.h"
#include "browser/browser_texts.h"
#include "data/steps.h"
#include "shared/accessibility.h"
#include "shared/caption_fit.h"
#include "shared/desktop_opener.h"
#include "shared/saves.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPromise>
#include <QPushButton>
#include <QRadioButton>
#include <QThreadPool>
#include <memory>

namespace tomarina {

BrowserWindow::BrowserWindow(Forms& forms)
    : Form(forms, stored_names::browser, QStringLiteral("browser_window")) {
    choice_frame = add_control<QGroupBox>(this, "choice_frame", 120, 120, 6135, 1695);
    choice_frame->setTitle(browser_texts::choice_caption);
    guidance_label = add_control<QLabel>(choice_frame, "guidance_label", 240, 360, 5535, 375);
    guidance_label->setWordWrap(true);
    explorer_option = add_control<QRadioButton>(choice_frame, "explorer_option", 240, 840, 1935, 375);
    explorer_option->setText(browser_texts::explorer_caption);
    netscape_option = add_control<QRadioButton>(choice_frame, "netscape_option", 2280, 840, 1935, 375);
    netscape_option->setText(browser_texts::netscape_caption);
    no_browser_option = add_control<QRadioButton>(choice_frame, "no_browser_option", 4440, 840, 1335, 375);
    no_browser_option->setText(browser_texts::no_browser_caption);
    status_label = add_control<QLabel>(choice_frame, "status_label", 240, 1320, 975, 255);
    file_box = add_control<QLineEdit>(choice_frame, "file_box", 1320, 1320, 4695, 270);
    file_box->setReadOnly(true);
    file_box->setAccessibleName(browser_texts::file_box_name);
    // Only the search fills it: empty, it is no stop for Tab.
    file_box->setFocusPolicy(Qt::NoFocus);
    connect(file_box, &QLineEdit::textChanged, file_box, [box = file_box](const QString& text) {
        box->setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    });
    search_button = add_control<QPushButton>(this, "search_button", 3960, 1920, 1095, 375);
    search_button->setText(browser_texts::search_caption);
    close_button = add_control<QPushButton>(this, "close_button", 5160, 1920, 1095, 375);
    close_button->setText(browser_texts::close_caption);
    search_button->setAutoDefault(true);
    close_button->setAutoDefault(true);

    setTabOrder(explorer_option, netscape_option);
    setTabOrder(netscape_option, no_browser_option);
    setTabOrder(no_browser_option, file_box);
    setTabOrder(file_box, search_button);
    setTabOrder(search_button, close_button);

    // The check itself, not only a click: an assistive technology's toggle sets the check alone.
    for (QRadioButton* o : {explorer_option, netscape_option})
        connect(o, &QRadioButton::toggled, this, [this, o](bool on) {
            if (!on) return;
            chosen_ = o;
            choose_browser();
        });
    connect(no_browser_option, &QRadioButton::toggled, this, [this](bool on) {
        if (on) choose_no_browser();
    });
    connect(search_button, &QPushButton::clicked, this, &BrowserWindow::search_disks);
    connect(&search_, &QFutureWatcher<QString>::progressTextChanged, file_box, &QLineEdit::setText);
    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });

    fit_captions({explorer_option, netscape_option, no_browser_option}, 105);
    setFixedSize(twips_to_px(6330), twips_to_px(2340));
    watch_esc();
}

BrowserWindow::~BrowserWindow() {
    // The search uses the platform, which goes when the program does: it must have stopped by then.
    search_.cancel();
    search_.waitForFinished();
}

void BrowserWindow::set_up_window() {
    restore_position();
}

void BrowserWindow::set_guidance(const QString& text) {
    guidance_label->setText(text);
    // What to do next is said with the control in focus, the option or the button.
    for (QWidget* w :
         std::initializer_list<QWidget*>{explorer_option, netscape_option, no_browser_option, search_button})
        describe(w, text);
}

void BrowserWindow::restore_position() {
    set_guidance(browser_texts::guidance_open);
    search_button->setEnabled(false);
    Form::restore_position();
}

void BrowserWindow::choose_browser() {
    set_guidance(browser_texts::guidance_search);
    search_button->setEnabled(true);
}

void BrowserWindow::choose_no_browser() {
    const QPointer<BrowserWindow> self(this);
    const MsgAnswer answer =
        pf_.message(this, browser_texts::no_browser_question, browser_texts::confirm_title,
                    MsgIcon::Exclamation, MsgButtons::OkCancel);
    // The window may have closed, or the program be ending, while the question waited.
    if (!self || is_unloading() || forms_.end_requested()) return;
    if (answer != MsgAnswer::Ok) {
        // Cancel changes nothing: the option goes back, so that choosing it again asks again.
        undo_no_browser_choice();
        return;
    }
    st_.settings_store.set_browser(browser_kind::none, QString());
    close_window();
}

void BrowserWindow::undo_no_browser_choice() {
    if (chosen_) {
        chosen_->setChecked(true);
        return;
    }
    no_browser_option->setAutoExclusive(false);
    no_browser_option->setChecked(false);
    no_browser_option->setAutoExclusive(true);
}

namespace {

// The disk search, off the window's thread. Every file it passes is its progress text (a future reports
// at most 25 a second); a cancel stops it before the next file or folder.
struct DiskSearch {
    QPromise<QString>& promise;
    Platform& pf;
    QString browser_target;
    int examined = 0;

    // Searches folder_path (ending in "/") and every folder below it for browser_target; found once
    // browser_target is the path of a file that may be registered.
    void search_folder(const QString& folder_path, bool& found) {
        QStringList files;
        try_step("list files", [&] { files = pf.list_files(folder_path); });
        for (const QString& name : files) {
            if (promise.isCanceled()) return;
            // A file of the name that another user could have put there or could change is passed over.
            if (name.toUpper() == browser_target && registrable_browser(folder_path + name)) {
                found = true;
                browser_target = folder_path + name;
                return;
            }
            promise.setProgressValueAndText(++examined, folder_path + name);
        }
        QStringList folders;
        try_step("list folders", [&] { folders = pf.list_folders(folder_path); });
        for (const QString& folder : folders) {
            if (promise.isCanceled()) return;
            search_folder(folder_path + folder + u'/', found);
            if (found) return;
        }
    }
};

} // namespace

void BrowserWindow::search_disks() {
    if (search_.isRunning()) return;
    QString kind;
    QString bare;
    QStringList roots;
    run_steps({
        {"target",
         [&] {
             if (explorer_option->isChecked()) {
                 bare = QStringLiteral("IEXPLORE.EXE");
                 kind = browser_kind::explorer;
             } else if (netscape_option->isChecked()) {
                 bare = QStringLiteral("NETSCAPE.EXE");
                 kind = browser_kind::netscape;
             }
             browser_target = bare;
         }},
    });
    if (kind.isEmpty()) {
        close_window();
        return;
    }
    run_steps({
        {"status",
         [&] {
             status_label->setText(browser_texts::searching);
             announce(browser_texts::searching);
             search_button->setEnabled(false);
             for (QRadioButton* o : {explorer_option, netscape_option, no_browser_option})
                 if (!o->isChecked()) o->setEnabled(false);
         }},
        {"roots", [&] { roots = pf_.disk_roots(); }},
    });
    connect(
        &search_, &QFutureWatcher<QString>::finished, this, [this, kind, bare] { search_ended(kind, bare); },
        Qt::SingleShotConnection);
    // The window follows the search before it starts, so that it misses none of its reports.
    const auto promise = std::make_shared<QPromise<QString>>();
    search_.setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, &pf = pf_, roots, bare] {
        promise->start();
        DiskSearch search{*promise, pf, bare};
        for (const QString& root : roots) {
            bool found = false;
            search.search_folder(root, found);
            if (found) promise->addResult(search.browser_target);
            if (found || promise->isCanceled()) break;
        }
        promise->finish();
    });
}

void BrowserWindow::search_ended(const QString& kind, const QString& bare) {
    // Closed meanwhile, by the user or the program's end: nothing changes.
    if (search_.isCanceled() || is_unloading()) return;
    run_steps({
        {"found",
         [&] {
             if (search_.future().resultCount() > 0) browser_target = search_.result();
         }},
        {"store",
         [&] {
             // The window closes now: the window that takes the keyboard says how the search ended.
             announce_on_close(browser_target != bare ? browser_texts::registered : browser_texts::not_found);
             if (browser_target != bare) {
                 st_.settings_store.set_browser(kind, browser_target);
                 save_ini_file(st_, pf_, this);
             }
         }},
    });
    close_window();
}

void BrowserWindow::on_unload() {
    search_.cancel();
    Form::on_unload();
}

void BrowserWindow::hideEvent(QHideEvent* event) {
    if (is_unloading()) search_.cancel();
    Form::hideEvent(event);
}

} // namespace tomarina
