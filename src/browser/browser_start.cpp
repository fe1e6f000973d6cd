#include "browser/browser_start.h"

#include "browser/browser_texts.h"

#include "data/regular_file.h"
#include "data/steps.h"
#include "platform/web_address.h"
#include "shared/shared_texts.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace tomarina {

bool caution_step(SettingsStore& settings, Platform& pf, QWidget* parent) {
    const Settings& s = settings.values();
    if (s.control9_flg != 0 || s.sv_count >= 3) return true;
    settings.set(&Settings::sv_count, Integer(s.sv_count + 1));
    return pf.message(parent, browser_texts::caution, browser_texts::caution_title, MsgIcon::Exclamation,
                      MsgButtons::OkCancel) != MsgAnswer::Cancel;
}

QString browser_error_text(const QString& address) {
    return browser_texts::start_failed + address;
}

namespace {

void tell_browser_error(Platform& pf, QWidget* parent, const QString& address) {
    try_step("browser message", [&] {
        pf.message(parent, browser_error_text(address), browser_texts::error_title, MsgIcon::Exclamation,
                   MsgButtons::Ok);
    });
}

// xdg-open that finds no browser ends with status 3 and says why only on the standard error, where no
// user looks: a click that opens nothing is a failed start. The window that asked may be gone by then,
// so the message stands on its own.
std::function<void()> late_failure_teller(Platform& pf, const QString& address, std::shared_ptr<bool> told) {
    if (!told) told = std::make_shared<bool>(false);
    return [&pf, address, told] {
        if (*told || pf.program_ending()) return;
        *told = true;
        tell_browser_error(pf, nullptr, address);
    };
}

} // namespace

QString browser_command_refusal(const QString& program) {
    // A bare name is the program the start would find on the PATH.
    QString file = program;
    if (!program.contains(u'/')) file = QStandardPaths::findExecutable(program);
    if (file.isEmpty()) return {};
    const QString why = shared_texts::describe(foreign_path_report(file));
    if (why.isEmpty()) return {};
    return browser_texts::command_refused.arg(program) + why;
}

bool start_browser(const Settings& s, Platform& pf, QWidget* parent, const QString& address,
                   std::shared_ptr<bool> told) {
    // The settings file may have been written by someone else: their program never runs for the user.
    QString refusal;
    try_step("check browser", [&] { refusal = browser_command_refusal(s.inet_data2); });
    if (!refusal.isEmpty()) {
        try_step("browser message", [&] {
            pf.message(parent, browser_error_text(address) + QStringLiteral("\r\n") + refusal,
                       browser_texts::error_title, MsgIcon::Exclamation, MsgButtons::Ok);
        });
        return false;
    }
    bool started = false;
    try_step("start browser", [&] {
        if (is_web_address(address) && !s.inet_data2.isEmpty())
            started =
                pf.start_program(s.inet_data2, address, late_failure_teller(pf, address, std::move(told)));
    });
    if (!started) tell_browser_error(pf, parent, address);
    return started;
}

} // namespace tomarina
