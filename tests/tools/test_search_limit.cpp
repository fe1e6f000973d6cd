#include "tools/search_limit.h"

#include <QTest>

using namespace tomarina;

class TestSearchLimit : public QObject {
    Q_OBJECT
  private slots:
    void accepted_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::newRow("plain") << "500" << 500;
        QTest::newRow("blanks around") << "  500 " << 500;
        QTest::newRow("plus sign") << "+20" << 20;
        QTest::newRow("minus sign") << "-20" << -20;
        QTest::newRow("leading zeros") << "0000300" << 300;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("decimal down") << "12.4" << 12;
        QTest::newRow("decimal up") << "12.6" << 13;
        QTest::newRow("half to even, down") << "2.5" << 2;
        QTest::newRow("half to even, up") << "3.5" << 4;
        QTest::newRow("negative half to even") << "-2.5" << -2;
        QTest::newRow("just above a half") << "2.500000000000000000001" << 3;
        QTest::newRow("half below the top") << "32766.5" << 32766;
        QTest::newRow("half at the bottom") << "-32768.5" << -32768;
        QTest::newRow("point last") << "7." << 7;
        QTest::newRow("point first") << ".9" << 1;
        QTest::newRow("one and a half") << "1.5" << 2;
    }
    void accepted() {
        QFETCH(QString, text);
        QFETCH(int, limit);
        const auto v = read_search_limit(text);
        QVERIFY(v.has_value());
        QCOMPARE(int(*v), limit);
    }

    void refused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("zero") << "0";
        QTest::newRow("signed zero") << "-0";
        QTest::newRow("zero point zero") << "0.0";
        QTest::newRow("rounds to zero") << "0.4";
        QTest::newRow("half rounds to zero") << "0.5";
        QTest::newRow("letters") << "abc";
        QTest::newRow("number then letters") << "500件";
        QTest::newRow("letters then number") << "x500";
        QTest::newRow("blank inside") << "5 00";
        QTest::newRow("blank after sign") << "- 5";
        QTest::newRow("too large") << "40000";
        QTest::newRow("just too large") << "32768";
        QTest::newRow("rounds past the top") << "32767.5";
        QTest::newRow("just too small") << "-32769";
        QTest::newRow("many digits") << "100000000000000000000000";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("point only") << ".";
        QTest::newRow("sign only") << "-";
        QTest::newRow("two signs") << "+-5";
        QTest::newRow("group comma") << "1,000";
        QTest::newRow("exponent") << "1e3";
        QTest::newRow("hexadecimal") << "&H10";
        QTest::newRow("full-width digits") << "５００";
        QTest::newRow("tab around") << "\t500";
    }
    void refused() {
        QFETCH(QString, text);
        QVERIFY(!read_search_limit(text).has_value());
    }
};

QTEST_APPLESS_MAIN(TestSearchLimit)
#include "test_search_limit.moc"
