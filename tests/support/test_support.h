#pragma once

#include "cli/db_builder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace tomarina::test {

// A small directory: three prefectures in two areas, four airports, five districts, six hotels with
// every field, two region reservation records.
DbSource small_source();

// A program folder in a temporary directory, holding a tomarina.dat.
class ProgramDir {
  public:
    explicit ProgramDir(const QByteArray& dat = {});
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

  private:
    QTemporaryDir dir_;
};

QString u8(const char* text);

// The desktop as the browser lookup meets it, in a folder beside the test program (not under /tmp, where
// nothing may be registered) that is every XDG folder and the PATH: an http handler running command
// (none when it is empty), and xdg-open when opener. The environment comes back when it goes.
struct DesktopHandler {
    DesktopHandler(const QString& command, bool opener);
    ~DesktopHandler();
    QString opener() const { return dir.filePath(QStringLiteral("xdg-open")); }
    QTemporaryDir dir;
    QList<std::pair<const char*, std::optional<QByteArray>>> saved;
};

// Runs test function slot of this test program again as the unprivileged user nobody, with the
// environment variable variable set to value. skip says why that cannot be done from here (not root,
// no setpriv, the program not reachable for nobody); otherwise passed and what the run printed.
struct NobodyRun {
    QString skip;
    bool passed = false;
    QByteArray output;
};
NobodyRun run_as_nobody(const char* slot, const char* variable, const QString& value);

} // namespace tomarina::test
