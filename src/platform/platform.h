#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QMessageBox;
class QWidget;

namespace tomarina {

class HelpWindow;

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel };
enum class MsgAnswer { Ok, Cancel };

// A registry value as the registry hands it over: its type (1 text, 2 expandable text, 4 32-bit
// number) and its bytes in the ANSI code page, a text with its terminating NUL.
struct RegistryValue {
    int type = 1;
    QByteArray data;
};

// What the windows reach of the system outside the program. Windows never call Qt's static dialogs,
// start processes or read the desktop's settings themselves. Every call runs on the main thread, except
// list_files and list_folders, which the browser disk search calls from a pool thread while the main
// thread goes on: they keep no state, and an implementation must keep them safe to call from any
// thread at the same time as the other calls.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // Starts program with the address as its one argument; no shell is involved, nothing waits. When
    // the program started ends with a failure status within five seconds, failed runs later.
    virtual bool start_program(const QString& program, const QString& address,
                               std::function<void()> failed = {}) = 0;
    // A value under HKEY_CLASSES_ROOT; nothing when the key or the value is not there.
    virtual std::optional<RegistryValue> registry_value(const QString& key, const QString& value) = 0;
    // The roots the browser disk search walks, in a fixed order, each ending in "/".
    virtual QStringList disk_roots() = 0;
    // The ordinary files of a folder (path ending in "/"), hidden ones and links left out. Any thread.
    virtual QStringList list_files(const QString& folder) = 0;
    // The subfolders of a folder on the same file system, hidden ones and links left out. Any thread.
    virtual QStringList list_folders(const QString& folder) = 0;
    virtual void show_help(const QString& help_file, const QString& topic) = 0;
    virtual void close_help(const QString& help_file) = 0;
    // Japanese input on or off for a text box.
    virtual void set_ime(QWidget* box, bool japanese) = 0;
    // The program is ending: every message box waiting for its answer is answered Cancel (OK when it
    // has only OK), and every later one at once, so that nothing holds up the end.
    virtual void answer_waiting_messages() {}

    // The program has begun to end: from now on nothing is told that the end did not ask for.
    void note_program_end() { program_ending_ = true; }
    bool program_ending() const { return program_ending_; }

  private:
    bool program_ending_ = false;
};

// Moves a window shown, or about to be, so that all of it lies on a screen's available area, fitted to
// it when it is resizable and larger (kept_on_screen).
void keep_on_screen(QWidget* window);

// The real implementation, for the program.
class DesktopPlatform : public Platform {
  public:
    ~DesktopPlatform() override;
    MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    bool start_program(const QString& program, const QString& address,
                       std::function<void()> failed = {}) override;
    std::optional<RegistryValue> registry_value(const QString& key, const QString& value) override;
    QStringList disk_roots() override;
    QStringList list_files(const QString& folder) override;
    QStringList list_folders(const QString& folder) override;
    void show_help(const QString& help_file, const QString& topic) override;
    void close_help(const QString& help_file) override;
    void set_ime(QWidget* box, bool japanese) override;
    void answer_waiting_messages() override;

  private:
    HelpWindow* help_ = nullptr;
    QList<QPointer<QMessageBox>> waiting_;
    // Owns the watches of the started programs, which end with it.
    QObject started_;
    bool ending_ = false;
};

} // namespace tomarina
