#include "data/save_file.h"
#include "program/command_line.h"
#include "program/end_signals.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "program/single_copy.h"
#include "shared/form.h"
#include "shared/saves.h"
#include "shared/user_folder.h"
#include "tools/splash_window.h"

#include <QApplication>
#include <QIcon>
#include <QThreadPool>
#include <cstdio>
#include <cstdlib>

namespace {

QStringList arguments_of(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QtMessageHandler qt_messages = nullptr;
// Qt's messages while it connects to the display, given on once it has.
QList<std::pair<QtMsgType, QString>> start_said;

// Qt ends with abort() when it cannot reach the display after all (DISPLAY names one that is gone), and
// its words advise reinstalling the program: say what is wrong on standard error and exit 1 instead.
void start_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        start_said.append({type, message});
        return;
    }
    const QString display =
        qEnvironmentVariable(qEnvironmentVariableIsEmpty("DISPLAY") ? "WAYLAND_DISPLAY" : "DISPLAY");
    std::fprintf(stderr, "tomarina: the display %s cannot be reached, so the windows cannot be shown\n",
                 display.toLocal8Bit().constData());
    std::_Exit(1);
}

// A message of the start-up, as an "エラーメッセージ" or a "注意メッセージ". The session may end while it
// waits: the box is answered and false comes back, for the program to end before anything is loaded or
// written. The watch goes with the message.
bool tell_at_start(tomarina::DesktopPlatform& platform, const QString& text, bool error) {
    bool ended = false;
    QObject waiting;
    tomarina::handle_end_signals(&waiting, [&] {
        ended = true;
        platform.answer_waiting_messages();
    });
    platform.message(
        nullptr, text, error ? tomarina::shared_texts::error_title : tomarina::shared_texts::caution_title,
        error ? tomarina::MsgIcon::Critical : tomarina::MsgIcon::Information, tomarina::MsgButtons::Ok);
    return !ended;
}

} // namespace

int main(int argc, char** argv) {
    const QStringList arguments = arguments_of(argc, argv);
    if (const auto answer = tomarina::early_answer(arguments); answer != tomarina::EarlyAnswer::none) {
        const QByteArray text = tomarina::early_answer_text(answer).toUtf8();
        const bool written =
            std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size());
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (tomarina::display_missing(arguments,
                                  {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                                   qEnvironmentVariable("WAYLAND_DISPLAY")})) {
        std::fputs(
            "tomarina: no display to show the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
            stderr);
        return 1;
    }
    qt_messages = qInstallMessageHandler(start_messages);
    QApplication app(argc, argv);
    qInstallMessageHandler(qt_messages);
    for (const auto& [type, message] : std::as_const(start_said)) qt_message_output(type, {}, message);
    start_said.clear();
    QApplication::setQuitOnLastWindowClosed(false);
    // Every window carries the program's icon, and the desktop matches the windows to the menu entry.
    QApplication::setWindowIcon(QIcon(tomarina::product_picture(256)));
    tomarina::set_desktop_identity();
    tomarina::catch_end_signals();
    tomarina::install_fonts();

    tomarina::AppState state;
    const tomarina::FolderChoice folder =
        tomarina::choose_program_folder_for(QCoreApplication::applicationDirPath());
    state.app_path = folder.app_path;
    if (folder.read_only) state.use_read_only_folder();
    tomarina::DesktopPlatform platform;
    // The user's files would otherwise be lost or moved without a word.
    if (const QString text = tomarina::folder_choice_message(folder);
        !text.isEmpty() && !tell_at_start(platform, text, folder.read_only))
        return 0;
    tomarina::Forms forms(state, platform);
    bool ended = false;
    forms.on_end = [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    };
    tomarina::provide_windows(forms);
    // One copy per program folder: a later start brings the running copy's main menu to the front.
    // A folder used read-only gets no lock file and nothing removed.
    tomarina::SingleCopy single_copy(state.app_path);
    if (!folder.read_only) {
        const auto claim = single_copy.claim([&forms] { tomarina::bring_main_menu_to_front(forms); });
        // 0 only for a start that the running copy answered, or that was told to end.
        if (claim == tomarina::SingleCopy::Claim::other || claim == tomarina::SingleCopy::Claim::ended)
            return 0;
        // Only now can no other copy be saving here: what stopped saves left behind goes.
        if (claim == tomarina::SingleCopy::Claim::first)
            tomarina::remove_save_leftovers(state.app_path, tomarina::saved_file_names());
        // Another copy may be using the folder: this one writes nothing there.
        if (claim == tomarina::SingleCopy::Claim::refused) {
            state.use_read_only_folder();
            if (!tell_at_start(
                    platform, tomarina::lock_refusal_message(state.app_path, single_copy.lock_state()), true))
                return 0;
        }
    }
    // A signal during the start-up load ends the program as soon as the load has returned.
    tomarina::end_on_signals(&app, forms);
    if (!tomarina::start_program(forms)) return 1;
    // Ended during the start-up: there is no main loop to leave.
    if (ended) return 0;
    const int code = app.exec();
    // A browser disk search stopped by the end finishes before the platform it lists through is gone.
    QThreadPool::globalInstance()->waitForDone();
    return code;
}
