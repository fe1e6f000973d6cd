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

// The desktop as the browser lookup meets it, in folders beside the test program (never under /tmp, where
// no program may be registered): an http handler whose Exec line is command (none when it is empty), and a
// PATH of one folder, holding xdg-open when opener. The environment is put back when it goes.
class DesktopHandler {
  public:
    DesktopHandler(const QString& command, bool opener);
    ~DesktopHandler();
    QString opener() const { return dir_.filePath(QStringLiteral("bin/xdg-open")); }

  private:
    QTemporaryDir dir_;
    QList<std::pair<const char*, std::optional<QByteArray>>> saved_;
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
