#include "data/database.h"
#include "data/steps.h"

#include <QTest>
#include <stdexcept>

using namespace tomarina;

namespace {

QStringList logged;

void capture(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (QByteArray(context.category) == "tomarina.steps") logged << text;
}

} // namespace

class TestSteps : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        logged.clear();
        qInstallMessageHandler(capture);
    }
    void cleanup() {
        qInstallMessageHandler(nullptr);
        QLoggingCategory::setFilterRules(QString());
    }

    void every_step_runs_and_the_failures_are_counted() {
        QStringList ran;
        const int failed = run_steps({
            {"first", [&] { ran << QStringLiteral("first"); }},
            {"second",
             [&] {
                 ran << QStringLiteral("second");
                 throw std::runtime_error("broken");
             }},
            {"third", [&] { ran << QStringLiteral("third"); }},
            [&] { throw 42; },
        });
        QCOMPARE(failed, 2);
        QCOMPARE(ran,
                 QStringList({QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
        QVERIFY(!try_step("fails", [] { throw std::out_of_range("slot 3"); }));
        QVERIFY(try_step([] {}));
    }

    void stopped_steps_are_not_logged_by_default() {
        run_steps({{"quiet", [] { throw std::runtime_error("broken"); }}});
        HotelTables t;
        Loader(t, QByteArrayView()).load_all();
        QCOMPARE(logged, QStringList());
    }

    void a_developer_sees_which_step_stopped_and_why() {
        QLoggingCategory::setFilterRules(QStringLiteral("tomarina.steps.debug=true"));
        run_steps(
            {{"works", [] {}}, {"breaks", [] { throw std::runtime_error("broken"); }}, [] { throw 42; }});
        QCOMPARE(logged, QStringList({QStringLiteral("step breaks stopped: broken"),
                                      QStringLiteral("step #3 stopped: an exception without a text")}));
        logged.clear();
        // A file too short for its control block: every step that needs it says so.
        HotelTables t;
        Loader(t, QByteArrayView("short")).load_all();
        QVERIFY(!logged.isEmpty());
        QCOMPARE(logged.first(), QStringLiteral("step get_control stopped: shorter than one block"));
        QVERIFY(logged.contains(QStringLiteral("step get_hotel stopped: no control block")));
    }
};

QTEST_GUILESS_MAIN(TestSteps)
#include "test_steps.moc"
