#include "data/database.h"
#include "data/steps.h"

#include <QTest>
#include <functional>
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
        set_strict_steps(true);
    }

    // The program skips anything a step throws; the tests let only a step's own failures pass.
    void a_programming_error_fails_a_test() {
        QVERIFY_THROWS_EXCEPTION(int, run_steps({[] { throw 42; }}));
        QVERIFY_THROWS_EXCEPTION(std::bad_function_call, try_step([] { std::function<void()>()(); }));
        QCOMPARE(run_steps({[] { throw std::out_of_range("slot 3"); }, [] { throw std::overflow_error("big"); }}),
                 2);
    }

    void every_step_runs_and_the_failures_are_counted() {
        set_strict_steps(false);
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
        set_strict_steps(false);
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
