#pragma once

#include <exception>
#include <functional>
#include <initializer_list>

namespace tomarina {

// Runs each step on its own: a step that throws is skipped silently and the next one runs.
// Returns how many steps failed, for tests.
inline int run_steps(std::initializer_list<std::function<void()>> steps) {
    int failed = 0;
    for (const auto& step : steps) {
        try {
            step();
        } catch (...) {
            ++failed;
        }
    }
    return failed;
}

// One statement on its own.
template <typename F> bool try_step(F&& f) {
    try {
        f();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace tomarina
