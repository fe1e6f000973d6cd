#include "platform/nested_loop.h"
#include "platform/platform.h"
#include "support/watchdog.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace tomarina;

namespace {

// Runs act once a message box waits for its answer.
void when_a_box_waits(std::function<void(QMessageBox*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            act(box);
        }
    });
    timer->start(10);
}

} // namespace

class TestNestedLoops : public QObject {
    Q_OBJECT
  private slots:
    // The program ending while a box waits: the box is answered Cancel, or OK when it has only OK, and
    // every box after it is answered at once without being shown.
    void end_answers_the_waiting_box_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK and Cancel") << int(MsgButtons::OkCancel) << int(MsgAnswer::Cancel);
        QTest::newRow("OK only") << int(MsgButtons::Ok) << int(MsgAnswer::Ok);
    }
    void end_answers_the_waiting_box() {
        QFETCH(int, buttons);
        QFETCH(int, answer);
        test::Watchdog dog("a box answered by the end");
        DesktopPlatform pf;
        QWidget parent;
        parent.show();
        bool seen = false;
        when_a_box_waits([&](QMessageBox*) {
            seen = true;
            pf.answer_waiting_messages();
        });
        const auto b = MsgButtons(buttons);
        QCOMPARE(int(pf.message(&parent, QStringLiteral("本当に削除しますよ！！"),
                                QStringLiteral("確認メッセージ"), MsgIcon::Exclamation, b)),
                 answer);
        QVERIFY(seen);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(int(pf.message(&parent, QStringLiteral("x"), QStringLiteral("エラーメッセージ"),
                                MsgIcon::Critical, b)),
                 answer);
        QVERIFY(parent.findChildren<QMessageBox*>().isEmpty());
    }

    // The box's parent deleted while the box waits takes the box along; the answer is Cancel.
    void parent_deleted_while_the_box_waits() {
        test::Watchdog dog("a box whose parent went");
        DesktopPlatform pf;
        auto* parent = new QWidget;
        parent->show();
        when_a_box_waits([parent](QMessageBox*) { delete parent; });
        QCOMPARE(pf.message(parent, QStringLiteral("本当に削除しますよ！！"), QStringLiteral("確認メッセージ"),
                            MsgIcon::Exclamation, MsgButtons::OkCancel),
                 MsgAnswer::Cancel);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestNestedLoops)
#include "test_nested_loops.moc"
