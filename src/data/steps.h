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

// Runs each step on its own: a step that throws is skipped (and logged) and the next one runs.
// Returns how many steps failed, for tests.
inline int run_steps(std::initializer_list<Step> steps) {
    int failed = 0;
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        try {
            step.run();
        } catch (...) {
            log_stopped_step(step.name, number);
            ++failed;
        }
    }
    return failed;
}

// Runs the steps while go_on() holds before each: code after a nested loop stops there once the window
// it works on is gone or the program is to end.
inline int run_steps_while(const std::function<bool()>& go_on, std::initializer_list<Step> steps) {
    int failed = 0;
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        if (!go_on()) break;
        try {
            step.run();
        } catch (...) {
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
        log_stopped_step(name, 1);
        return false;
    }
}
template <typename F> bool try_step(F&& f) {
    return try_step(nullptr, std::forward<F>(f));
}

} // namespace tomarina
