#include "program/end_signals.h"

#include <QCoreApplication>
#include <QTest>
#include <csignal>

using namespace tomarina;

class TestEndSignals : public QObject {
    Q_OBJECT
  private slots:
    void signal_runs_the_end_step_in_the_event_loop() {
        catch_end_signals();
        // Arrives during the start-up: kept until the handler is there.
        ::raise(SIGTERM);
        int ended = 0;
        QObject context;
        handle_end_signals(&context, [&] { ++ended; });
        QCOMPARE(ended, 0);
        QTRY_COMPARE(ended, 1);
        ::raise(SIGINT);
        ::raise(SIGHUP);
        QTRY_VERIFY(ended >= 2);
    }
};

QTEST_GUILESS_MAIN(TestEndSignals)
#include "test_end_signals.moc"
