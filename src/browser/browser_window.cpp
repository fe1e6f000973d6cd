#include "browser/browser_window.h"

#include "browser/browser_lookup.h"
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
    Frame1 = add_control<QGroupBox>(this, "Frame1", 120, 120, 6135, 1695);
    Frame1->setTitle(QStringLiteral("ブラウザの選択"));
    Label1 = add_control<QLabel>(Frame1, "Label1", 240, 360, 5535, 375);
    Label1->setWordWrap(true);
    Option1 = add_control<QRadioButton>(Frame1, "Option1", 240, 840, 1935, 375);
    Option1->setText(QStringLiteral("Internet Explorer"));
    Option2 = add_control<QRadioButton>(Frame1, "Option2", 2280, 840, 1935, 375);
    Option2->setText(QStringLiteral("Netscape Navigator"));
    Option3 = add_control<QRadioButton>(Frame1, "Option3", 4440, 840, 1335, 375);
    Option3->setText(QStringLiteral("未使用"));
    Label2 = add_control<QLabel>(Frame1, "Label2", 240, 1320, 975, 255);
    Text1 = add_control<QLineEdit>(Frame1, "Text1", 1320, 1320, 4695, 270);
    Text1->setReadOnly(true);
    Text1->setAccessibleName(QStringLiteral("検索中のファイル"));
    // Only the search fills it: empty, it is no stop for Tab.
    Text1->setFocusPolicy(Qt::NoFocus);
    connect(Text1, &QLineEdit::textChanged, Text1, [box = Text1](const QString& text) {
        box->setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    });
    Command2 = add_control<QPushButton>(this, "Command2", 3960, 1920, 1095, 375);
    Command2->setText(QStringLiteral("検索開始"));
    Command1 = add_control<QPushButton>(this, "Command1", 5160, 1920, 1095, 375);
    Command1->setText(QStringLiteral("終了"));
    Command2->setAutoDefault(true);
    Command1->setAutoDefault(true);

    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Option3);
    setTabOrder(Option3, Text1);
    setTabOrder(Text1, Command2);
    setTabOrder(Command2, Command1);

    // The check itself, not only a click: an assistive technology's toggle sets the check alone.
    for (QRadioButton* o : {Option1, Option2})
        connect(o, &QRadioButton::toggled, this, [this, o](bool on) {
            if (!on) return;
            chosen_ = o;
            Option1_Click();
        });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option3_Click();
    });
    connect(Command2, &QPushButton::clicked, this, &BrowserWindow::Command2_Click);
    connect(&search_, &QFutureWatcher<QString>::progressTextChanged, Text1, &QLineEdit::setText);
    connect(Command1, &QPushButton::clicked, this, [this] { close_window(); });

    fit_captions({Option1, Option2, Option3}, 105);
    setFixedSize(twips_to_px(6330), twips_to_px(2340));
    watch_esc();
}

BrowserWindow::~BrowserWindow() {
    // The search uses the platform, which goes when the program does: it must have stopped by then.
    search_.cancel();
    search_.waitForFinished();
}

void BrowserWindow::init_sec() {
    restore_position();
}

void BrowserWindow::set_guidance(const QString& text) {
    Label1->setText(text);
    // What to do next is said with the control in focus, the option or the button.
    for (QWidget* w : std::initializer_list<QWidget*>{Option1, Option2, Option3, Command2}) describe(w, text);
}

void BrowserWindow::restore_position() {
    set_guidance(browser_guidance_open);
    Command2->setEnabled(false);
    Form::restore_position();
}

void BrowserWindow::Option1_Click() {
    set_guidance(browser_guidance_search);
    Command2->setEnabled(true);
}

void BrowserWindow::Option3_Click() {
    const QPointer<BrowserWindow> self(this);
    const MsgAnswer answer =
        pf_.message(this, QStringLiteral("インターネットを利用した予約は行えません\r\n処理を続行しますか"),
                    QStringLiteral("確認メッセージ"), MsgIcon::Exclamation, MsgButtons::OkCancel);
    // The window may have closed, or the program be ending, while the question waited.
    if (!self || is_unloading() || forms_.end_requested()) return;
    if (answer != MsgAnswer::Ok) {
        // Cancel changes nothing: the option goes back, so that choosing it again asks again.
        undo_option3();
        return;
    }
    st_.settings_store.set_browser(browser_kind::none, QString());
    close_window();
}

void BrowserWindow::undo_option3() {
    if (chosen_) {
        chosen_->setChecked(true);
        return;
    }
    Option3->setAutoExclusive(false);
    Option3->setChecked(false);
    Option3->setAutoExclusive(true);
}

namespace {

// The disk search, off the window's thread. Every file it passes is its progress text (a future reports
// at most 25 a second); a cancel stops it before the next file or folder.
struct DiskSearch {
    QPromise<QString>& promise;
    Platform& pf;
    QString browser_target;
    int examined = 0;

    // Searches CurrentPath (ending in "/") and every folder below it for browser_target.
    void RecurseTree(const QString& CurrentPath, int& hit_flg) {
        QStringList files;
        try_step("list files", [&] { files = pf.list_files(CurrentPath); });
        for (const QString& name : files) {
            if (promise.isCanceled()) return;
            // A file of the name that another user could have put there or could change is passed over.
            if (name.toUpper() == browser_target && registrable_browser(CurrentPath + name)) {
                hit_flg = 1;
                browser_target = CurrentPath + name;
                return;
            }
            promise.setProgressValueAndText(++examined, CurrentPath + name);
        }
        QStringList folders;
        try_step("list folders", [&] { folders = pf.list_folders(CurrentPath); });
        for (const QString& folder : folders) {
            if (promise.isCanceled()) return;
            RecurseTree(CurrentPath + folder + u'/', hit_flg);
            if (hit_flg == 1) return;
        }
    }
};

} // namespace

void BrowserWindow::Command2_Click() {
    if (search_.isRunning()) return;
    QString kind;
    QString bare;
    QStringList roots;
    run_steps({
        {"target",
         [&] {
             if (Option1->isChecked()) {
                 bare = QStringLiteral("IEXPLORE.EXE");
                 kind = browser_kind::explorer;
             } else if (Option2->isChecked()) {
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
             Label2->setText(browser_searching);
             announce(browser_searching);
             Command2->setEnabled(false);
             for (QRadioButton* o : {Option1, Option2, Option3})
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
            int hit_flg = 0;
            search.RecurseTree(root, hit_flg);
            if (hit_flg == 1) promise->addResult(search.browser_target);
            if (hit_flg == 1 || promise->isCanceled()) break;
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
             announce_on_close(browser_target != bare ? browser_registered : browser_not_found);
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
