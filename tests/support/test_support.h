#pragma once

#include "cli/db_builder.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

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

// A folder under which a private folder (mode 0700) may hold programs that the browser checks accept:
// beside the test program, else (a checkout under /tmp, which others can write) the runtime folder or
// home.
QString trusted_parent();

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
