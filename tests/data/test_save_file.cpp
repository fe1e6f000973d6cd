// Saving the user's files: whatever the disk does, the file is the new content whole or the old content
// byte for byte, no temporary file stays behind, and a failure comes back with its reason.
#include "data/save_file.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "shared/settings.h"
#include "shared/shared_texts.h"
#include "support/faulty_disk.h"
#include "support/small_disk.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tomarina;
using tomarina::test::SmallDisk;
using tomarina::test::u8;

namespace {

enum class Kind { Ini, Csv };

QString file_name(Kind kind) {
    return kind == Kind::Ini ? QStringLiteral("tomarina.ini") : QStringLiteral("hotelusr.csv");
}

// Settings whose file is about `bytes` long: the history entries carry the length.
Settings settings_of_size(int bytes, const QString& fill) {
    Settings s;
    s.max_kensuu = 1000;
    const int base = int(settings_bytes(s).size());
    const int per_entry = std::max(0, (bytes - base + 19) / 20); // ten entries, two bytes a character
    for (int k = 1; k <= 5; ++k) {
        s.prefecture_history(k) = QString(per_entry, fill.at(0));
        s.airport_history(k) = QString(per_entry, fill.at(0));
    }
    return s;
}

// User hotels whose file is at least `bytes` long.
UserTables user_tables_of_size(int bytes, const QString& name) {
    UserTables u;
    int size = 0;
    while (size < bytes && u.user_count < UserTables::user_capacity) {
        const int i = ++u.user_count;
        const QStringList fields = {u8("東京"),
                                    u8("東京／羽田"),
                                    u8("京橋"),
                                    name + QString::number(i),
                                    u8("012-345-6789"),
                                    u8("123"),
                                    u8("京橋駅徒歩１０分"),
                                    u8("\\10,000"),
                                    u8("○")};
        set_user_record(u, i, fields);
        size += int(encode_cp932(user_line(fields)).size()) + 2;
    }
    return u;
}

// One save of either file, through its real writer.
struct Save {
    Kind kind;
    Settings settings;
    UserTables user;

    static Save of_size(Kind kind, int bytes, const QString& fill) {
        Save s{kind, {}, {}};
        if (kind == Kind::Ini)
            s.settings = settings_of_size(bytes, fill);
        else
            s.user = user_tables_of_size(bytes, fill);
        return s;
    }
    bool run(const QString& path, QString* error = nullptr) const {
        if (kind == Kind::Ini) return write_settings_file(path, settings, error);
        SaveReport report;
        const bool saved = save_hotel_user(path, user, &report);
        if (error) *error = shared_texts::describe(report);
        return saved;
    }
    QByteArray bytes() const { return kind == Kind::Ini ? settings_bytes(settings) : user_file_bytes(user); }
    // Why the real reader did not read the file at path; none when it did.
    static ReadReport read_error(Kind kind, const QString& path) {
        if (kind == Kind::Ini) {
            Settings s;
            read_settings_file(path, s);
            return s.read_error;
        }
        auto u = std::make_unique<UserTables>();
        read_user_file(path, *u, *std::make_unique<HotelTables>(), {});
        return u->user_read_error;
    }
};

QByteArray read_file(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// Every entry of a folder, hidden ones included: a temporary file left behind shows here.
QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

// Resets the disk faults however the test ends.
struct FaultScope {
    ~FaultScope() { save_faults = {}; }
};

// Fills the disk up, then gives back `room` bytes (whole pages).
void fill_disk(const QString& path, qint64 room) {
    QFile filler(path);
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray page(4096, 'x');
    while (filler.write(page) == page.size()) {
    }
    filler.close();
    QVERIFY(filler.resize(std::max<qint64>(0, filler.size() - room)));
}

// Where the disk fills up: every byte of a short file; in a longer one the first bytes, both sides of
// every piece boundary, a spread of positions between them, and the last bytes.
QList<qint64> fault_positions(qint64 size) {
    QList<qint64> positions;
    for (qint64 k = 0; k < size; ++k) {
        const qint64 in_piece = k % 4096;
        if (size <= 2048 || k < 64 || size - k <= 2 || in_piece <= 1 || in_piece >= 4095 || k % 97 == 0)
            positions << k;
    }
    return positions;
}

} // namespace

class TestSaveFile : public QObject {
    Q_OBJECT
  private slots:
    void fails_at_every_byte_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("size");
        QTest::newRow("settings, 1 KB") << int(Kind::Ini) << 1000;
        QTest::newRow("settings, 17 KB") << int(Kind::Ini) << 17 * 1024;
        QTest::newRow("user file, 87 bytes") << int(Kind::Csv) << 87;
        QTest::newRow("user file, 10 KB") << int(Kind::Csv) << 10 * 1024;
        QTest::newRow("user file, 20 KB") << int(Kind::Csv) << 20 * 1024;
    }
    // A disk that fills up after any number of bytes of the save, as a full disk does.
    void fails_at_every_byte() {
        QFETCH(int, kind);
        QFETCH(int, size);
        FaultScope scope;
        QTemporaryDir dir;
        const Kind k = Kind(kind);
        const QString path = dir.filePath(file_name(k));
        const Save old_save = Save::of_size(k, size / 2, u8("旧"));
        QVERIFY(old_save.run(path));
        const QByteArray old_bytes = read_file(path);
        const Save new_save = Save::of_size(k, size, u8("新"));
        const QByteArray new_bytes = new_save.bytes();
        QVERIFY(new_bytes.size() >= size);

        for (const qint64 space : fault_positions(new_bytes.size())) {
            save_faults.space = space;
            QString error;
            if (new_save.run(path, &error))
                QFAIL(qPrintable(QStringLiteral("saved with %1 bytes of room").arg(space)));
            if (read_file(path) != old_bytes)
                QFAIL(qPrintable(QStringLiteral("old file changed with %1 bytes of room").arg(space)));
            if (entries(dir.path()) != QStringList{file_name(k)})
                QFAIL(qPrintable(QStringLiteral("left %1 with %2 bytes of room")
                                     .arg(entries(dir.path()).join(u' '))
                                     .arg(space)));
            QCOMPARE(error, shared_texts::save_no_space);
        }
        save_faults = {};
        QVERIFY(new_save.run(path));
        QCOMPARE(read_file(path), new_bytes);
        QCOMPARE(entries(dir.path()), QStringList{file_name(k)});
    }

    void fails_at_each_later_step_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("reason");
        QTest::newRow("create") << 0 << shared_texts::save_no_permission;
        QTest::newRow("sync") << 1 << shared_texts::save_disk_error;
        QTest::newRow("close") << 2 << shared_texts::save_disk_error;
        QTest::newRow("rename") << 3 << shared_texts::save_no_permission;
        QTest::newRow("write: I/O error") << 4 << shared_texts::save_disk_error;
    }
    void fails_at_each_later_step() {
        QFETCH(int, step);
        QFETCH(QString, reason);
        FaultScope scope;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hotelusr.csv"));
        const Save old_save = Save::of_size(Kind::Csv, 300, u8("旧"));
        QVERIFY(old_save.run(path));
        const QByteArray old_bytes = read_file(path);
        save_faults.fail_create = step == 0;
        save_faults.fail_sync = step == 1;
        save_faults.fail_close = step == 2;
        save_faults.fail_rename = step == 3;
        if (step == 4) {
            save_faults.space = 100;
            save_faults.write_error = EIO;
        }
        QString error;
        QVERIFY(!Save::of_size(Kind::Csv, 5000, u8("新")).run(path, &error));
        QCOMPARE(error, reason);
        QCOMPARE(read_file(path), old_bytes);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("hotelusr.csv")});
    }

    void full_disk_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("old_size");
        QTest::addColumn<int>("new_size");
        QTest::addColumn<int>("room");
        QTest::newRow("settings 1 KB, no room") << int(Kind::Ini) << 977 << 1100 << 0;
        QTest::newRow("settings 10 KB, 4 KB free") << int(Kind::Ini) << 900 << 10 * 1024 << 4096;
        QTest::newRow("settings 17 KB, 8 KB free") << int(Kind::Ini) << 17 * 1024 << 18 * 1024 << 8192;
        QTest::newRow("user file 87 bytes, no room") << int(Kind::Csv) << 87 << 200 << 0;
        QTest::newRow("user file 10 KB, 4 KB free") << int(Kind::Csv) << 10 * 1024 << 11 * 1024 << 4096;
        QTest::newRow("user file 15 KB, 8 KB free") << int(Kind::Csv) << 8 * 1024 << 15 * 1024 << 8192;
        QTest::newRow("user file 17 KB, 8 KB free") << int(Kind::Csv) << 8 * 1024 << 17 * 1024 << 8192;
        QTest::newRow("user file 40 KB, 16 KB free") << int(Kind::Csv) << 30 * 1024 << 40 * 1024 << 16384;
    }
    // A real file system that is full: the write error shows only late, and the old file must survive it.
    void full_disk() {
        QFETCH(int, kind);
        QFETCH(int, old_size);
        QFETCH(int, new_size);
        QFETCH(int, room);
        SmallDisk disk("size=256k");
        if (!disk.mounted()) QSKIP(disk.why());
        const Kind k = Kind(kind);
        const QString path = disk.file(file_name(k));
        QVERIFY(Save::of_size(k, old_size, u8("旧")).run(path));
        const QByteArray old_bytes = read_file(path);
        fill_disk(disk.file(QStringLiteral("filler")), room);

        const Save new_save = Save::of_size(k, new_size, u8("新"));
        QString error;
        QVERIFY(!new_save.run(path, &error));
        QCOMPARE(error, shared_texts::save_no_space);
        QCOMPARE(read_file(path), old_bytes);
        const QStringList both = {QStringLiteral("filler"), file_name(k)};
        QCOMPARE(entries(disk.path()), both);

        QVERIFY(QFile::remove(disk.file(QStringLiteral("filler"))));
        QVERIFY(new_save.run(path));
        QCOMPARE(read_file(path), new_save.bytes());
    }

    // A folder the program may not write into: the old file stays, and the reason says so.
    void read_only_folder() {
        FaultScope scope;
        SmallDisk disk("size=64k");
        QTemporaryDir plain;
        const bool root = ::geteuid() == 0;
        if (root && !disk.mounted()) QSKIP(disk.why());
        const QString dir = root ? disk.path() : plain.path();
        const QString path = dir + QStringLiteral("/tomarina.ini");
        Settings s;
        s.max_kensuu = 10;
        QVERIFY(write_settings_file(path, s));
        const QByteArray old_bytes = read_file(path);
        if (root)
            QVERIFY(disk.make_read_only());
        else
            QVERIFY(QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        s.max_kensuu = 20;
        QString error;
        const bool saved = write_settings_file(path, s, &error);
        if (!root)
            QFile::setPermissions(dir,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!saved);
        QCOMPARE(error, root ? shared_texts::save_read_only_disk : shared_texts::save_no_permission);
        QCOMPARE(read_file(path), old_bytes);
        QCOMPARE(entries(dir), QStringList{QStringLiteral("tomarina.ini")});
    }

    void missing_folder_and_folder_in_the_way() {
        QTemporaryDir dir;
        SaveReport error;
        QVERIFY(!save_file(dir.filePath(QStringLiteral("no/such/tomarina.ini")), "x", &error));
        QCOMPARE(shared_texts::describe(error), shared_texts::save_no_folder);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("hotelusr.csv")));
        QVERIFY(!save_file(dir.filePath(QStringLiteral("hotelusr.csv")), "x", &error));
        QCOMPARE(shared_texts::describe(error), shared_texts::save_folder_of_the_name);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("hotelusr.csv")});
    }

    void keeps_permissions_and_links() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hotelusr.csv"));
        QVERIFY(save_file(path, "old"));
        const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(path, mode));
        QVERIFY(save_file(path, "new"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0640u);

        const QString link = dir.filePath(QStringLiteral("link.csv"));
        QVERIFY(QFile::link(path, link));
        QVERIFY(save_file(link, "through the link"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(read_file(path), QByteArray("through the link"));
    }

    // A replaced file keeps the old permissions (within 0777) only when it was the user's own, else it
    // gets a new file's, so that another user's file never hands its mode to the user's content.
    void mode_of_a_replaced_file_data() {
        QTest::addColumn<bool>("others");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<uint>("kept");
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QTest::newRow("the user's, private") << false << 0600u << 0600u;
        QTest::newRow("the user's, set-user-id") << false << 04755u << 0755u;
        QTest::newRow("another user's, set-user-id") << true << 04777u << uint(0666 & ~mask);
    }
    void mode_of_a_replaced_file() {
        QFETCH(bool, others);
        QFETCH(uint, mode);
        QFETCH(uint, kept);
        if (others && ::geteuid() != 0) QSKIP("giving a file to another user needs root");
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("hotelusr.csv")));
        QVERIFY(save_file(QFile::decodeName(path), "old"));
        if (others) QCOMPARE(::chown(path.constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(path.constData(), mode), 0);
        QVERIFY(save_file(QFile::decodeName(path), "new"));
        struct stat st {};
        QCOMPARE(::stat(path.constData(), &st), 0);
        QCOMPARE(uint(st.st_mode & 07777), kept);
        QCOMPARE(st.st_uid, ::geteuid());
    }

    // A save replaces a regular or missing file, named directly or through links, and nothing else:
    // a link to a device node leaves the node as it was.
    void replaces_only_regular_files() {
        QTemporaryDir dir;
        const QString real = dir.filePath(QStringLiteral("real.ini"));
        const QString first = dir.filePath(QStringLiteral("first"));
        const QString ini = dir.filePath(QStringLiteral("tomarina.ini"));
        QVERIFY(QFile::link(QStringLiteral("first"), ini));
        QVERIFY(QFile::link(QStringLiteral("real.ini"), first));
        QVERIFY(save_file(ini, "new through a missing target"));
        QCOMPARE(read_file(real), QByteArray("new through a missing target"));
        QVERIFY(save_file(ini, "again"));
        QVERIFY(QFileInfo(ini).isSymLink() && QFileInfo(first).isSymLink());
        QCOMPARE(read_file(real), QByteArray("again"));

        SaveReport error;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString to_fifo = dir.filePath(QStringLiteral("hotelusr.csv"));
        QVERIFY(QFile::link(fifo, to_fifo));
        QVERIFY(!save_file(to_fifo, "x", &error));
        QVERIFY(error.problem == FileProblem::not_a_regular_file);
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());

        if (::geteuid() != 0) QSKIP("making a device node needs root");
        const QString node = dir.filePath(QStringLiteral("null"));
        if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("device nodes cannot be made here");
        QVERIFY(QFile::remove(ini));
        QVERIFY(QFile::link(node, ini));
        QVERIFY(!save_file(ini, "x", &error));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(node).constData(), &st), 0);
        QVERIFY(S_ISCHR(st.st_mode));
        QCOMPARE(st.st_rdev, makedev(1, 3));
        QVERIFY(QFileInfo(ini).isSymLink());
        for (const QString& name : entries(dir.path())) QVERIFY2(!name.contains(u".tmp-"), qPrintable(name));
    }

    // Another user's link, to the file or to a folder on the way, would choose what the program (run by
    // root) writes over: the save refuses it and the target keeps its bytes.
    void follows_only_links_of_the_user_or_root_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("folder_link");
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("target_owner");
        QTest::newRow("settings, root's link") << int(Kind::Ini) << false << 0u << 0u;
        QTest::newRow("settings, another user's link") << int(Kind::Ini) << false << 65534u << 0u;
        QTest::newRow("user file, another user's link") << int(Kind::Csv) << false << 65534u << 0u;
        QTest::newRow("user file, another user's folder link") << int(Kind::Csv) << true << 65534u << 0u;
        QTest::newRow("settings, root's link to another user's file")
            << int(Kind::Ini) << false << 0u << 65534u;
    }
    void follows_only_links_of_the_user_or_root() {
        QFETCH(int, kind);
        QFETCH(bool, folder_link);
        QFETCH(uint, owner);
        QFETCH(uint, target_owner);
        if (::geteuid() != 0) QSKIP("giving a link to another user needs root");
        QTemporaryDir dir;
        const QString name = file_name(Kind(kind)), target = dir.filePath(QStringLiteral("real/") + name);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")) && save_file(target, "old"));
        QCOMPARE(::chown(QFile::encodeName(target).constData(), target_owner, target_owner), 0);
        const QString link = dir.filePath(folder_link ? QStringLiteral("sub") : name);
        QVERIFY(QFile::link(folder_link ? QStringLiteral("real") : QStringLiteral("real/") + name, link));
        QCOMPARE(::lchown(QFile::encodeName(link).constData(), owner, owner), 0);
        // Reading follows the same links: another user's is not read, and so never written over.
        const QString path = folder_link ? link + u'/' + name : link;
        QCOMPARE(Save::read_error(Kind(kind), path).problem == FileProblem::link_of_another_user, owner != 0);
        QString error;
        const bool trusted = owner == 0 && target_owner == 0;
        QCOMPARE(Save::of_size(Kind(kind), 9, u8("新")).run(folder_link ? link + u'/' + name : link, &error),
                 trusted);
        QCOMPARE(read_file(target) == "old", !trusted);
        if (owner != 0) QCOMPARE(error, shared_texts::save_foreign_link);
        if (target_owner != 0) QCOMPARE(error, shared_texts::save_foreign_link_target);
        QCOMPARE(entries(dir.filePath(QStringLiteral("real"))), QStringList{name});
    }

    // Temporary files a stopped save left behind go; nothing else of the folder does.
    void leftovers_of_stopped_saves() {
        QTemporaryDir dir;
        const QStringList made = {".hotelusr.csv.tmp-1a2b3c", ".tomarina.ini.tmp-ff", ".other.tmp-12",
                                  ".hotelusr.csv.tmp-xyz",    "hotelusr.csv.tmp-12",  ".hotelusr.csv.tmp-"};
        for (const QString& name : made) QVERIFY(save_file(dir.filePath(name), "x"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral(".tomarina.ini.tmp-aa")));
        remove_save_leftovers(dir.path(), {QStringLiteral("hotelusr.csv"), QStringLiteral("tomarina.ini")});
        QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        left.sort();
        QCOMPARE(left, QStringList({".hotelusr.csv.tmp-", ".hotelusr.csv.tmp-xyz", ".other.tmp-12",
                                    ".tomarina.ini.tmp-aa", "hotelusr.csv.tmp-12"}));
    }

    // A text the code page cannot hold stops the save; the old file stays.
    void conversion_error_stops_the_save() {
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("hotelusr.csv"));
        const QString ini = dir.filePath(QStringLiteral("tomarina.ini"));
        QVERIFY(save_file(csv, "old"));
        QVERIFY(save_file(ini, "old"));
        UserTables u;
        u.user_count = 1;
        u.user_name(1) = QString::fromUtf16(u"\U0001F600");
        SaveReport report;
        QVERIFY(!save_hotel_user(csv, u, &report));
        QVERIFY(report.problem == FileProblem::cannot_encode);
        QString error;
        Settings s;
        s.inet_data2 = QString(QChar(0x2028));
        QVERIFY(!write_settings_file(ini, s, &error));
        QCOMPARE(read_file(csv), QByteArray("old"));
        QCOMPARE(read_file(ini), QByteArray("old"));
    }

    void message_names_the_file_and_the_reason() {
        const QString text = shared_texts::save_failed.arg(QStringLiteral("hotelusr.csv"),
                                                           shared_texts::describe(save_report(ENOSPC)));
        QVERIFY(text.startsWith(QStringLiteral("「hotelusr.csv」")));
        QVERIFY(text.contains(u'\n' + shared_texts::save_no_space + u'\n'));
        QVERIFY(shared_texts::describe(save_report(12345)).contains(QStringLiteral("12345")));
    }
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "test_save_file.moc"
