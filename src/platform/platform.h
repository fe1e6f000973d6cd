#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tomarina {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel };
enum class MsgAnswer { Ok, Cancel };

// What the windows reach of the system outside the program. Windows never call Qt's static dialogs,
// start processes or read the desktop's settings themselves.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // Starts program with the address as its one argument; no shell is involved.
    virtual bool start_program(const QString& program, const QString& address) = 0;
    // A value under HKEY_CLASSES_ROOT; nothing when it is not there.
    virtual std::optional<QString> registry_value(const QString& key, const QString& value) = 0;
    virtual void show_help(const QString& help_file, const QString& topic) = 0;
    virtual void close_help(const QString& help_file) = 0;
    // Japanese input on or off for a text box.
    virtual void set_ime(QWidget* box, bool japanese) = 0;
};

// The real implementation, for the program.
class DesktopPlatform : public Platform {
  public:
    ~DesktopPlatform() override;
    MsgAnswer message(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    bool start_program(const QString& program, const QString& address) override;
    std::optional<QString> registry_value(const QString& key, const QString& value) override;
    void show_help(const QString& help_file, const QString& topic) override;
    void close_help(const QString& help_file) override;
    void set_ime(QWidget* box, bool japanese) override;

  private:
    class HelpWindow;
    HelpWindow* help_ = nullptr;
};

} // namespace tomarina
