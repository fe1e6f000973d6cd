#pragma once

#include "platform/platform.h"
#include "shared/settings_store.h"

#include <QString>
#include <memory>

class QWidget;

namespace tomarina {

// The caution shown before a page opens: at most three times over the program's use, never when
// control9_flg is set. Counts the showing before it is answered. True: go on; false: Cancel.
bool caution_step(SettingsStore& settings, Platform& pf, QWidget* parent);

// The text of the message shown when the browser cannot be started.
QString browser_error_text(const QString& address);

// Why the browser command must not be started: the file or a folder on its way is another user's or
// can be written by another user (regular_file.h's rule). Empty when it may.
QString browser_command_refusal(const QString& program);

// Starts the browser inet_data2 with one address, without a shell and without waiting. A refused
// address or a failed start shows "エラーメッセージ" and the program goes on. True when started. A
// browser that ends with a failure within seconds is told with the same message later, once for all
// the starts that share told (one press), never once the program has begun to end.
bool start_browser(const Settings& s, Platform& pf, QWidget* parent, const QString& address,
                   std::shared_ptr<bool> told = {});

} // namespace tomarina
