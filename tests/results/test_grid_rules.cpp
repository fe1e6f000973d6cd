#include "shared/grid_rules.h"

#include <QTest>

using namespace tomarina;

Q_DECLARE_METATYPE(tomarina::TwipsPoint)

class TestGridRules : public QObject {
    Q_OBJECT
  private slots:
    void capacity_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("capacity");
        QTest::newRow("district, design width") << 0 << 1080 << 6;
        QTest::newRow("name, a fraction dropped") << 1 << 2339 << 12;
        QTest::newRow("telephone, half width") << 2 << 1170 << 13;
        QTest::newRow("rooms, half width") << 3 << 700 << 7;
        QTest::newRow("access") << 4 << 2100 << 11;
        QTest::newRow("price, half width") << 5 << 900 << 10;
        QTest::newRow("remarks") << 6 << 1080 << 6;
        QTest::newRow("half width, one character") << 2 << 179 << 1;
        QTest::newRow("full width, too narrow") << 1 << 179 << 0;
        QTest::newRow("no width") << 5 << 0 << 0;
    }
    void capacity() {
        QFETCH(int, column);
        QFETCH(int, width);
        QFETCH(int, capacity);
        QCOMPARE(results_capacity(column, width), capacity);
    }

    void lines_and_row_height_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("height");
        QTest::newRow("empty") << 0 << 12 << 0 << 945;
        QTest::newRow("one character") << 1 << 12 << 1 << 225;
        QTest::newRow("exactly the capacity") << 12 << 12 << 1 << 225;
        QTest::newRow("one more") << 13 << 12 << 2 << 405;
        QTest::newRow("three lines") << 36 << 12 << 3 << 585;
        QTest::newRow("four lines") << 48 << 12 << 4 << 765;
        QTest::newRow("five lines") << 60 << 12 << 5 << 945;
        QTest::newRow("longer still") << 200 << 12 << 17 << 945;
        QTest::newRow("too narrow a column") << 5 << 0 << 1 << 225;
    }
    void lines_and_row_height() {
        QFETCH(int, length);
        QFETCH(int, capacity);
        QFETCH(int, lines);
        QFETCH(int, height);
        QCOMPARE(line_count(length, capacity), lines);
        QCOMPARE(row_height_for(lines), height);
    }

    void resize_moves_by_the_difference_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("grid_height");
        QTest::addColumn<int>("grid_width");
        QTest::addColumn<TwipsPoint>("right");
        QTest::addColumn<TwipsPoint>("left");
        QTest::newRow("design size") << 5085 << 9615 << 3855 << 9495 << TwipsPoint{8760, 4320}
                                     << TwipsPoint{1560, 4320};
        QTest::newRow("larger") << 5085 + 1500 << 9615 + 3000 << 3855 + 1500 << 9495 + 3000
                                << TwipsPoint{8760 + 3000, 4320 + 1500} << TwipsPoint{1560, 4320 + 1500};
        QTest::newRow("smaller") << 4085 << 8615 << 2855 << 8495 << TwipsPoint{7760, 3320}
                                 << TwipsPoint{1560, 3320};
        QTest::newRow("far too small")
            << 300 << 300 << 0 << 180 << TwipsPoint{-555, -465} << TwipsPoint{1560, -465};
    }
    void resize_moves_by_the_difference() {
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(int, grid_height);
        QFETCH(int, grid_width);
        QFETCH(TwipsPoint, right);
        QFETCH(TwipsPoint, left);
        const SizeDelta d = size_delta(height, width, ResultsDesign::height, ResultsDesign::width);
        QCOMPARE(grown(ResultsDesign::grid_height, d.dh), grid_height);
        QCOMPARE(grown(ResultsDesign::grid_width, d.dw), grid_width);
        QCOMPARE(moved({8760, 4320}, Anchor::bottom_right, d), right);
        QCOMPARE(moved({1560, 4320}, Anchor::bottom_left, d), left);
    }

    void column_widths_keep_their_share_data() {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("grid_width");
        QTest::addColumn<QList<int>>("scaled");
        const QList<int> design(std::begin(ResultsDesign::column_widths),
                                std::end(ResultsDesign::column_widths));
        // 9095 twips shared in proportion, each rounded up to a whole pixel.
        QTest::newRow("design") << design << 9495 << QList<int>{1035, 2205, 1125, 675, 2010, 1035, 1035};
        QTest::newRow("twice as wide") << QList<int>{1000, 1000} << 2 * 1000 + 400 << QList<int>{1005, 1005};
        QTest::newRow("narrower than 500: 100 shared") << QList<int>{300, 100} << 300 << QList<int>{75, 30};
        QTest::newRow("zero sum: nothing") << QList<int>{0, 0, 0} << 9495 << QList<int>{};
        QTest::newRow("negative sum: nothing") << QList<int>{-15, 0} << 9495 << QList<int>{};
    }
    void column_widths_keep_their_share() {
        QFETCH(QList<int>, widths);
        QFETCH(int, grid_width);
        QFETCH(QList<int>, scaled);
        QCOMPARE(scaled_widths(widths, grid_width), scaled);
    }
};

QTEST_GUILESS_MAIN(TestGridRules)
#include "test_grid_rules.moc"
