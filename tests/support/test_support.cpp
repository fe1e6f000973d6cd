#include "support/test_support.h"

#include "platform/disk_listing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace tomarina::test {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

QString trusted_parent() {
    for (const QString& parent : {QCoreApplication::applicationDirPath(),
                                  qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::homePath()}) {
        QTemporaryDir probe(parent + QStringLiteral("/probe-XXXXXX"));
        if (parent.isEmpty() || !probe.isValid()) continue;
        QFile f(probe.filePath(QStringLiteral("probe")));
        if (!f.open(QIODevice::WriteOnly) || !f.setPermissions(QFileDevice::Permissions(0x7700))) continue;
        f.close();
        if (trusted_program_file(f.fileName())) return parent;
    }
    return QCoreApplication::applicationDirPath();
}

NobodyRun run_as_nobody(const char* slot, const char* variable, const QString& value) {
    NobodyRun run;
    if (::geteuid() != 0) {
        run.skip = QStringLiteral("needs root to hand a root-owned file to an unprivileged user");
        return run;
    }
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        run.skip = QStringLiteral("setpriv is not installed");
        return run;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(variable), value);
    child.setProcessEnvironment(env);
    child.start(setpriv, {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                          QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                          QString::fromLatin1(slot)});
    if (!child.waitForFinished(60000)) {
        run.output = "the run as nobody did not end";
        return run;
    }
    if (child.exitCode() != 0 && child.readAllStandardError().contains("Permission denied")) {
        run.skip = QStringLiteral("the test program cannot be started as an unprivileged user from here");
        return run;
    }
    run.passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    run.output = child.readAllStandardOutput();
    return run;
}

DbSource small_source() {
    DbSource s;
    s.prefectures = {{u8("北海道"), u8("北海道"), u8("北海道")},
                     {u8("関東"), u8("東京"), u8("東京都")},
                     {u8("関東"), u8("千葉"), u8("千葉県")}};
    s.regions = {{u8("関東"), u8("東京"), u8("a"), u8("b")}};
    s.airports = {
        {u8("札幌／新千歳"), 1}, {u8("東京／羽田"), 4}, {u8("東京／成田"), 4}, {u8("大阪／伊丹"), 5}};
    s.districts = {u8("札幌駅前"), u8("新宿"), u8("京橋"), u8("成田"), u8("銀座")};
    auto hotel = [](int info, int ken, int airport, int syousai, const char* name, const char* tel,
                    const char* rooms, const char* access, const char* price, const char* note,
                    const char* url, const char* address, const char* best) {
        DbSource::Hotel h;
        h.info_no = info;
        h.ken = ken;
        h.airport = airport;
        h.syousai = syousai;
        h.name = u8(name);
        h.tel = u8(tel);
        h.rooms = u8(rooms);
        h.access = u8(access);
        h.price = u8(price);
        h.note = u8(note);
        h.url = u8(url);
        h.address = u8(address);
        h.best = u8(best);
        return h;
    };
    s.hotels = {
        hotel(4567, 2, 2, 2, "新宿グランドホテル", "03-1111-2222", "120", "ＪＲ新宿駅徒歩５分", "\\9,500",
              "★★★", "http://www.example.jp/shinjuku/", "東京都新宿区1-2-3", "hotel_no=1"),
        hotel(0, 2, 2, 3, "ホテル京橋", "03-3333-4444", "80", "京橋駅徒歩１分", "8000円", "朝食付き", "",
              "東京都中央区京橋1-1", ""),
        hotel(101, 1, 1, 1, "札幌ステーションホテル", "011-555-6666", "300", "ＪＲ札幌駅徒歩３分",
              "\\8,000～", "", "", "北海道札幌市1", ""),
        hotel(102, 3, 3, 4, "成田エアポートホテル", "", "", "成田駅から車で１０分", "\\", "LAN完備", "",
              "千葉県成田市2", ""),
        hotel(103, 2, 2, 5, "銀座パークホテル", "03-7777-8888", "約60", "地下鉄銀座駅より徒歩２分",
              "9500円～", "○", "http://www.example.jp/ginza/", "東京都中央区銀座3", "hotel_no=6"),
        hotel(0, 2, 0, 2, "新宿ビジネスホテル", "03-9999-0000", "45", "ＪＲ新宿駅東口徒歩８分", "8,000円", "",
              "", "", ""),
    };
    s.reservations = {{u8("北海道"), u8("札幌"), u8("/best/area?r=01")},
                      {u8("東京"), u8("都内"), u8("/best/area?r=04")}};
    s.date = 37904;
    return s;
}

ProgramDir::ProgramDir(const QByteArray& dat) {
    if (!dat.isEmpty()) write(QStringLiteral("tomarina.dat"), dat);
}

void ProgramDir::write(const QString& name, const QByteArray& bytes) const {
    QFile f(dir_.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

QByteArray ProgramDir::read(const QString& name) const {
    QFile f(dir_.filePath(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace tomarina::test
