#include "platform/nested_loop.h"

#include <QCoreApplication>
#include <QList>

namespace tomarina {

namespace {

struct Pending {
    bool has_context;
    QPointer<QObject> context;
    std::function<void()> f;
};

int depth = 0;
bool posted = false;
QList<Pending> pending;

void run_pending() {
    posted = false;
    // Still inside a nested loop: the next one to return posts this again.
    if (depth > 0) return;
    const QList<Pending> now = std::exchange(pending, {});
    for (const Pending& p : now)
        if (!p.has_context || p.context) p.f();
}

void post_pending() {
    if (posted || pending.isEmpty() || !QCoreApplication::instance()) return;
    posted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), run_pending, Qt::QueuedConnection);
}

} // namespace

NestedLoop::NestedLoop() {
    ++depth;
    if (entered) entered();
}

NestedLoop::~NestedLoop() {
    if (--depth == 0) post_pending();
}

void NestedLoop::process_events() {
    NestedLoop loop;
    QCoreApplication::processEvents();
}

bool NestedLoop::running() {
    return depth > 0;
}

void NestedLoop::after(QObject* context, std::function<void()> f) {
    if (depth == 0) {
        f();
        return;
    }
    pending.append({context != nullptr, context, std::move(f)});
}

} // namespace tomarina
