#include "shared/form.h"

#include "platform/nested_loop.h"

#include <algorithm>

namespace tomarina {

Forms::~Forms() {
    for (auto& [type, w] : windows_) delete w.data();
}

Form* Forms::show(FormKind kind, const SearchCriterion& criterion) {
    const auto it = kinds_.find(kind);
    if (it == kinds_.end()) return nullptr;
    Form* w = it->second.load(*this, criterion);
    if (w) bring_up(w);
    return w;
}

Form* Forms::loaded(FormKind kind) const {
    const auto k = kinds_.find(kind);
    if (k == kinds_.end()) return nullptr;
    const auto it = windows_.find(k->second.type);
    if (it == windows_.end() || !it->second || it->second->is_unloading()) return nullptr;
    return it->second.data();
}

void Forms::bring_up(Form* w) {
    w->show();
    w->raise();
    // A window shown without taking the focus leaves it where the user is working.
    if (!w->testAttribute(Qt::WA_ShowWithoutActivating)) w->activateWindow();
    // Noted at once: the window system tells the activation later, after the caller may have closed
    // the window that opened this one.
    note_active(w);
}

void Forms::note_active(Form* f) {
    std::erase_if(activation_, [f](const QPointer<Form>& w) { return !w || w == f; });
    activation_.emplace_back(f);
}

Form* Forms::activate_previous(Form* closing, bool raise) {
    std::vector<Form*> order;
    for (const auto& w : activation_) order.push_back(w.data());
    // Windows never active yet (the main menu under the first window) come after those that were.
    for (const auto& [type, w] : windows_)
        if (std::find(order.begin(), order.end(), w.data()) == order.end()) order.insert(order.begin(), w);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Form* w = *it;
        // A window that never takes the focus (the progress bar) is not given it back either.
        if (!w || w == closing || w->is_unloading() || !w->isVisible() ||
            w->testAttribute(Qt::WA_ShowWithoutActivating))
            continue;
        if (raise) w->raise();
        w->activateWindow();
        return w;
    }
    return nullptr;
}

void Forms::forget(Form* f) {
    for (auto& [type, w] : windows_)
        if (w == f) w = nullptr;
    std::erase_if(activation_, [f](const QPointer<Form>& w) { return !w || w == f; });
}

void Forms::end_program() {
    if (ended_) return;
    ended_ = true;
    platform_.note_program_end();
    for (auto& [type, w] : windows_) {
        if (!w) continue;
        Form* f = w.data();
        w = nullptr;
        f->unloading_ = true;
        f->hide();
        NestedLoop::after(f, [f] { f->deleteLater(); });
    }
    if (on_end) on_end();
}

void Forms::note_end_request() {
    end_requested_ = true;
    platform_.note_program_end();
    platform_.answer_waiting_messages();
}

} // namespace tomarina
