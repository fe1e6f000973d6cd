#include "data/steps.h"

#include <exception>

namespace tomarina {

Q_LOGGING_CATEGORY(lc_steps, "tomarina.steps", QtInfoMsg)

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
