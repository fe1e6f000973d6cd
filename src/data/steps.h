#pragma once

#include <QLoggingCategory>
#include <concepts>
#include <functional>
#include <initializer_list>

namespace tomarina {

// Steps that stopped, with their reason, for a developer: off unless enabled through
// QT_LOGGING_RULES="tomarina.steps.debug=true". The program itself keeps no log.
Q_DECLARE_LOGGING_CATEGORY(lc_steps)

// One statement on its own, named for the log.
struct Step {
    Step(const char* step_name, std::function<void()> f) : name(step_name), run(std::move(f)) {}
    template <typename F>
    requires std::invocable<F&> Step(F&& f) : run(std::forward<F>(f)) {}

    const char* name = nullptr;
    std::function<void()> run;
};

// Tells the log why the step stopped; call only inside a catch block.
void log_stopped_step(const char* name, int number) noexcept;

// The program skips whatever a step throws, so that no exception reaches the event loop. The test
// programs turn strict steps on: then only a step's own failure is skipped (std::out_of_range: an index
// outside a table; std::runtime_error: a number that does not fit, data that cannot be read), and any
// other exception goes on up and fails the test instead of hiding a programming error.
void set_strict_steps(bool on);
// Whether the exception being handled must go on up; call only inside a catch block.
bool goes_past_steps() noexcept;

// Runs each step on its own: a step that throws is skipped (and logged) and the next one runs. With
// go_on, the steps run only while it holds before each: code after a nested loop stops there once the
// window it works on is gone or the program is to end. Returns how many steps failed, for tests.
inline int run_steps(std::initializer_list<Step> steps, const std::function<bool()>& go_on = {}) {
    int failed = 0;
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        if (go_on && !go_on()) break;
        try {
            step.run();
        } catch (...) {
            if (goes_past_steps()) throw;
            log_stopped_step(step.name, number);
            ++failed;
        }
    }
    return failed;
}

// One statement on its own.
template <typename F> bool try_step(const char* name, F&& f) {
    try {
        f();
        return true;
    } catch (...) {
        if (goes_past_steps()) throw;
        log_stopped_step(name, 1);
        return false;
    }
}
template <typename F> bool try_step(F&& f) {
    return try_step(nullptr, std::forward<F>(f));
}

} // namespace tomarina
