#pragma once

#include "platform/platform.h"
#include "shared/app_state.h"
#include "shared/input_check.h"
#include "shared/shared_texts.h"
#include "shared/stored_names.h"
#include "shared/twips.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

namespace tomarina {

class Forms;

// Windows that a window of another folder opens without including its header: the program layer tells
// Forms which class each one is (Forms::provide), so the feature folders need not include each other.
enum class FormKind { results, narrowing };

// The caption every window but the main menu and the About window carries.
using shared_texts::app_title;

// What every window shares: opening at its saved position, one end step that remembers it, Esc on the
// controls, F1 for help, and closing the help when it unloads. Unloading destroys the window.
class Form : public QWidget {
    Q_OBJECT
  public:
    // stored: what the settings and help files call the window; name: its objectName.
    Form(Forms& forms, const StoredWindowNames& stored, const QString& name);
    ~Form() override;

    int number() const { return stored_.number; }
    bool is_unloading() const { return unloading_; }

    // The load event: by default it runs set_up.
    virtual void on_load() { set_up(); }
    // The window's set-up, ending with restore_position.
    virtual void set_up() { restore_position(); }
    // Places the window at its saved position.
    virtual void restore_position();
    // Saves the position and unloads.
    virtual void close_window();
    // Unloads without the end step.
    void unload();

  protected:
    // What the window does as it unloads; by default it closes the help window.
    virtual void on_unload();
    // Esc runs close_window wherever the focus is in the window; F1 in any control opens the help; what is
    // typed or pasted into a text box takes the input form (input_form); a read-only box shows the
    // beginning of its text. Called once the controls exist.
    void watch_esc();
    // Esc and F1, wherever the window gets them; true when the key was one of them.
    bool window_key(const QKeyEvent* event);
    void save_position();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // F1: the help file at this window's topic.
    void show_help();
    // Says the text to a screen reader at once, wherever the focus is (an empty text takes it back):
    // for a refusal shown in a line that never takes the focus.
    void announce(const QString& text);
    // Says the text from the window that takes the keyboard when this one unloads: the outcome of work
    // that closes the window as it ends.
    void announce_on_close(const QString& text) { parting_words_ = text; }
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // A saved position from another screen or scale would leave part of the window out of reach.
    void showEvent(QShowEvent* event) override;

    Forms& forms_;
    AppState& st_;
    Platform& pf_;

  private:
    friend class Forms;
    StoredWindowNames stored_;
    bool watching_esc_ = false;
    QWidget* announcement_ = nullptr;
    QString parting_words_;
    bool unloading_ = false;
};

// The open windows, one of each kind, like the toolkit's form collection.
class Forms {
  public:
    Forms(AppState& state, Platform& platform) : state_(state), platform_(platform) {}
    ~Forms();

    AppState& state() { return state_; }
    Platform& platform() { return platform_; }

    // The window, loaded if it is not (made with args, its load runs set_up), not shown. An open
    // window keeps what it was opened with.
    template <typename T, typename... Args> T* load(Args&&... args) {
        if (T* w = loaded<T>()) return w;
        T* w = new T(*this, std::forward<Args>(args)...);
        windows_[typeid(T)] = w;
        w->on_load();
        // The load may have unloaded the window again.
        return loaded<T>();
    }
    // Shows the window non-modally, loading it first; an open window only comes to the front.
    template <typename T, typename... Args> T* show(Args&&... args) {
        T* w = load<T>(std::forward<Args>(args)...);
        if (w) bring_up(w);
        return w;
    }
    template <typename T> T* loaded() const {
        const auto it = windows_.find(typeid(T));
        if (it == windows_.end() || !it->second || it->second->is_unloading()) return nullptr;
        return static_cast<T*>(it->second.data());
    }

    // show(kind) and loaded(kind) reach window T. A window made for a search is opened for the
    // criterion, and one already open searches for it again.
    template <typename T> void provide(FormKind kind) {
        kinds_.insert_or_assign(kind,
                                Kind{typeid(T), [](Forms& f, const SearchCriterion& c) -> Form* {
                                         if constexpr (std::is_constructible_v<T, Forms&, SearchCriterion>) {
                                             if (T* open = f.loaded<T>()) {
                                                 open->search(c);
                                                 return f.loaded<T>();
                                             }
                                             return f.load<T>(c);
                                         } else {
                                             return f.load<T>();
                                         }
                                     }});
    }
    // The window of that kind, shown as show<T>() does (the results window for that search); nullptr
    // when no class was provided for it or its load unloaded it again.
    Form* show(FormKind kind, const SearchCriterion& criterion = {});
    Form* loaded(FormKind kind) const;

    // Ends the program, once: every window closes without its own end step.
    void end_program();
    // An end asked for while a nested loop runs: remembered until the loops have returned, and every
    // message box waiting is answered, so that the end is not held up. Long work stops early on it.
    void note_end_request();
    bool end_requested() const { return end_requested_; }
    // What ending the program does after the windows are gone (the application quits).
    std::function<void()> on_end;

  private:
    friend class Form;
    void bring_up(Form* w);
    void forget(Form* f);
    // The window last brought up or activated is the last of the list.
    void note_active(Form* f);
    // A closing window that had the keyboard gives it to the window of the program used before it, as
    // the desktop would; without a window manager nothing else would. raise: that window comes to the
    // front as well. Gives that window, if any.
    Form* activate_previous(Form* closing, bool raise = true);

    AppState& state_;
    Platform& platform_;
    std::map<std::type_index, QPointer<Form>> windows_;
    struct Kind {
        std::type_index type;
        std::function<Form*(Forms&, const SearchCriterion&)> load;
    };
    std::map<FormKind, Kind> kinds_;
    std::vector<QPointer<Form>> activation_;
    bool end_requested_ = false;
    bool ended_ = false;
};

} // namespace tomarina
