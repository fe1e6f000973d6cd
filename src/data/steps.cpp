#include "data/steps.h"

#include <exception>
#include <stdexcept>

namespace tomarina {

Q_LOGGING_CATEGORY(lc_steps, "tomarina.steps", QtInfoMsg)

namespace {
bool strict_steps = false;
} // namespace

void set_strict_steps(bool on) {
    strict_steps = on;
}

bool goes_past_steps() noexcept {
    if (!strict_steps) return false;
    try {
        throw;
    } catch (const std::out_of_range&) {
        return false;
    } catch (const std::runtime_error&) {
        return false;
    } catch (...) {
        return true;
    }
}

void log_stopped_step(const char* name, int number) noexcept {
    try {
        if (!lc_steps().isDebugEnabled()) return;
        QString why;
        try {
            throw;
        } catch (const std::exception& e) {
            why = QString::fromLocal8Bit(e.what());
        } catch (...) {
            why = QStringLiteral("an exception without a text");
        }
        const QString step = name ? QString::fromLatin1(name) : QStringLiteral("#%1").arg(number);
        qCDebug(lc_steps).noquote() << "step" << step << "stopped:" << why;
    } catch (...) {
        // Logging never stops the program.
    }
}

} // namespace tomarina
