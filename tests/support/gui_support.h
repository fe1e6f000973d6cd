#pragma once

#include "program/program.h"
#include "support/fake_platform.h"
#include "support/test_support.h"

namespace tomarina::test {

// The windows as the program has them: each FormKind reaches its window.
struct WiredForms : Forms {
    WiredForms(AppState& state, Platform& platform) : Forms(state, platform) { provide_windows(*this); }
};

// The program over a program folder of its own, with message boxes and the help answered by the
// test double; ending the program is counted instead of quitting.
struct RunningProgram {
    ProgramDir dir;
    AppState st;
    FakePlatform pf;
    WiredForms forms{st, pf};
    int ended = 0;

    explicit RunningProgram(const QByteArray& dat = {}) : dir(dat) {
        st.app_path = dir.path();
        forms.on_end = [this] { ++ended; };
    }
    bool start() { return start_program(forms); }
};

} // namespace tomarina::test
