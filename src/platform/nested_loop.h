#pragma once

#include <QPointer>
#include <functional>

namespace tomarina {

// Every nested event loop (processEvents, a message box, a dialog's exec, the disk search) runs inside
// a NestedLoop. Any window may close and an end request may arrive while one runs, so what must not
// happen under the feet of the code around the loop (deleting a window, ending the program) is put off
// with after() until the outermost nested loop has returned.
class NestedLoop {
  public:
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;

    // Lets pending window events run, inside a nested loop.
    static void process_events();
    // Whether a nested loop runs now.
    static bool running();
    // Runs f at once when no nested loop runs, else from the event loop once the outermost nested loop
    // has returned. With a context, f is dropped when the context is gone by then.
    static void after(QObject* context, std::function<void()> f);

    // For tests: called as each nested loop starts, inside it.
    static inline std::function<void()> entered;
};

} // namespace tomarina
