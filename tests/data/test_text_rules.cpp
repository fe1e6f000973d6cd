#include "data/text_rules.h"
#include "support/test_support.h"

#include <QStringDecoder>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

class TestTextRules : public QObject {
    Q_OBJECT
  private slots:
    void leading_number_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "8000" << 8000.0;
        QTest::newRow("unit after") << u8("8000円") << 8000.0;
        QTest::newRow("comma ends") << "8,000" << 8.0;
        QTest::newRow("yen first") << "\\8,000" << 0.0;
        QTest::newRow("blanks anywhere") << " 1 2\t3\n4" << 1234.0;
        QTest::newRow("sign") << "-15" << -15.0;
        QTest::newRow("one point") << "3.25.5" << 3.25;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc12" << 0.0;
        QTest::newRow("wide digits are not digits") << u8("１２") << 0.0;
    }
    void leading_number() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(tomarina::leading_number(text), value);
        if (text.toUtf8() == text.toLatin1())
            QCOMPARE(tomarina::leading_number(QByteArrayView(text.toLatin1())), value);
    }

    void pictures() {
        QCOMPARE(format_picture(0, u"###0"), QStringLiteral("0"));
        QCOMPARE(format_picture(-120, u"###0"), QStringLiteral("-120"));
        QCOMPARE(format_picture(0, u"####"), QString());
        QCOMPARE(format_picture(0, u"#####"), QString());
        QCOMPARE(format_picture(123456, u"#####"), QStringLiteral("123456"));
        QCOMPARE(format_picture(7, u"0"), QStringLiteral("7"));
        QCOMPARE(format_picture(2.5, u"#####"), QStringLiteral("3"));
        QCOMPARE(format_yen(10000), QStringLiteral("\\10,000"));
        QCOMPARE(format_yen(1234567), QStringLiteral("\\1,234,567"));
        QCOMPARE(format_text_picture(u"\\8,000", u"#####"), QStringLiteral("8000"));
        QCOMPARE(format_text_picture(u8("\\8,000～"), u"#####"), u8("\\8,000～"));
    }

    void price_rule_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("yen unit") << u8("8000円") << 8000;
        QTest::newRow("yen sign and commas") << "\\8,000" << 8000;
        QTest::newRow("commas without yen sign") << u8("8,000円") << 8;
        QTest::newRow("yen sign and tilde") << u8("\\8,000～") << 0;
        QTest::newRow("yen sign alone") << "\\" << 0;
        QTest::newRow("yen sign with blanks") << "  \\  " << 0;
        QTest::newRow("9500") << "\\9,500" << 9500;
        QTest::newRow("from 9500") << u8("9500円～") << 9500;
        QTest::newRow("text before yen") << u8("シングル\\7,000") << 0;
        QTest::newRow("decimal amount") << "\\8,000.6" << 8001;
        QTest::newRow("empty") << "" << 0;
    }
    void price_rule() {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(price_number(text), number);
    }

    void user_rate_rule() {
        QCOMPARE(user_price_number(u"\\10,000"), 10000);
        QCOMPARE(user_price_number(u"\\"), 0);
        QCOMPARE(user_price_number(u"10000"), 0);
        QCOMPARE(user_price_number(u8("\\一万")), 0);
        QCOMPARE(user_price_number(u" \\5,500 "), 5500);
    }

    void dates() {
        QCOMPARE(serial_date(37904), QStringLiteral("2003/10/10"));
        QCOMPARE(serial_date(0), QStringLiteral("1899/12/30"));
        QCOMPARE(serial_date(-1), QStringLiteral("1899/12/29"));
        QCOMPARE(serial_date(99999999), QString());
    }

    void code_page() {
        // 0x5C is the yen sign of the data and stays U+005C.
        QCOMPARE(decode_cp932("\x5c\x38"), QStringLiteral("\\8"));
        QCOMPARE(decode_cp932("\x93\x8c\x8b\x9e"), u8("東京"));
        QCOMPARE(encode_cp932(u8("東京\\～")), QByteArray("\x93\x8c\x8b\x9e\x5c\x81\x60"));
        QCOMPARE(decode_cp932("\xb1\xb2"), u8("ｱｲ"));
        QVERIFY(cp932_encodable(u8("ホテル京橋")));
        QVERIFY(!cp932_encodable(u8("😀")));
        // A broken lead byte at the end does not spill into the next text.
        decode_cp932("\x93");
        QCOMPARE(decode_cp932("\x93\x8c"), u8("東"));
    }

    // Every byte reads the way the codec reads it, and what is read is written back as the same bytes,
    // so saving a text never turns one control byte into another.
    void code_page_reads_every_byte_one_way() {
        QStringDecoder codec("windows-31j", QStringConverter::Flag::Stateless);
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            QCOMPARE(decode_cp932(QByteArrayView(&c, 1)), codec.decode(QByteArrayView(&c, 1)));
            const QByteArray line = QByteArray("ab") + c + "cd";
            QCOMPARE(decode_cp932(line), codec.decode(line));
        }
        // Every byte pair, alone, between plain letters and after a Japanese character, into a buffer
        // as the loader reads: the table reading never differs from the codec.
        std::vector<char16_t> out(64);
        for (int lead = 0x80; lead < 0x100; ++lead)
            for (int trail = 0; trail < 0x100; ++trail) {
                const char pair[2] = {char(lead), char(trail)};
                for (const QByteArray& text : {QByteArray(pair, 2), "a" + QByteArray(pair, 2) + "b",
                                               "\x93\x8c" + QByteArray(pair, 2)}) {
                    const QString expected =
                        QStringDecoder("windows-31j", QStringConverter::Flag::Stateless).decode(text);
                    if (decode_cp932(text) != expected) QFAIL(qPrintable(text.toHex(' ')));
                    QVERIFY(cp932_room(text.size()) <= qsizetype(out.size()));
                    const qsizetype n = decode_cp932(text, out.data());
                    if (QStringView(out.data(), n) != expected) QFAIL(qPrintable(text.toHex(' ')));
                }
            }
        for (int b = 0; b < 0x80; ++b) {
            const QByteArray text = QByteArray("x") + char(b) + "y";
            QCOMPARE(encode_cp932(decode_cp932(text)), text);
            // The same byte beside Japanese text, where the codec reads the whole text.
            const QByteArray mixed = QByteArray("\x93\x8c") + char(b);
            QCOMPARE(encode_cp932(decode_cp932(mixed)), mixed);
        }
    }

    void end_of_file_mark() {
        QCOMPARE(decode_cp932_file("a\r\n\x1a"), QStringLiteral("a\r\n"));
        QCOMPARE(decode_cp932_file("\x1a"), QString());
        // Only the very last byte is the mark; one inside the text is data.
        QCOMPARE(decode_cp932_file("a\x1a\r\n"), decode_cp932("a\x1a\r\n"));
        QCOMPARE(decode_cp932_file("a\x1a\x1a").size(), 2);
    }

    void full_width() {
        QCOMPARE(to_full_width(u"Ab1 "), u8("Ａｂ１　"));
        QCOMPARE(to_full_width(u"\\'\"~"), u8("￥’”～"));
        QCOMPARE(to_full_width(u8("ｶﾞｷﾞﾊﾟﾋﾞｳﾞｯﾞｱﾞﾞ")), u8("ガギパビヴッ゛ア゛゛"));
        QCOMPARE(to_full_width(u8("ﾃｽﾄ｡ｰ")), u8("テスト。ー"));
        QCOMPARE(to_full_width(u8("東京")), u8("東京"));
    }

    void trims() {
        QCOMPARE(trim(u8(" 東京　 ")), u8("東京　"));
        QCOMPARE(trim_wide(u8(" 東京　 ")), u8("東京"));
        QCOMPARE(yen_for_display(QStringLiteral("\\8,000")), u8("¥8,000"));
    }

    // The settings (quotes not doubled), the user file and the directory's sources (blanks kept) read
    // their lines with one reader; what is left is the text after the line it read.
    void fields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("doubled_quotes");
        QTest::addColumn<bool>("skip_blanks");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("left");
        QTest::newRow("quote not doubled") << "\"a\"\"b\",c" << false << true << QStringList{"a", "c"} << "";
        QTest::newRow("after the quote") << " \"a\"x, b" << true << true << QStringList{"a", "b"} << "";
        QTest::newRow("blanks kept") << " a,\"b\"\"\"\r\nc" << true << false << QStringList{" a", "b\""}
                                     << "c";
        QTest::newRow("line end quoted") << "\"a\nb\",\nc" << true << false << QStringList{"a\nb", ""} << "c";
    }
    void fields() {
        QFETCH(QString, text);
        QFETCH(bool, doubled_quotes);
        QFETCH(bool, skip_blanks);
        QFETCH(QStringList, fields);
        QFETCH(QString, left);
        qsizetype pos = 0;
        QCOMPARE(read_fields(text, pos, {.doubled_quotes = doubled_quotes, .skip_blanks = skip_blanks}),
                 fields);
        QCOMPARE(text.sliced(pos), left);
    }

    // What any text box keeps of a typed or pasted text.
    void input_form_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("wave dash") << u8("波〜ホテル") << u8("波～ホテル");
        QTest::newRow("minus sign") << u8("03−1111") << u8("03－1111");
        QTest::newRow("yen sign") << u8("¥8,000") << QStringLiteral("\\8,000");
        QTest::newRow("double vertical line") << u8("‖") << u8("∥");
        QTest::newRow("em dash") << u8("—") << u8("―");
        QTest::newRow("cent pound not") << u8("¢£¬") << u8("￠￡￢");
        QTest::newRow("every one in a row") << u8("〜−〜¥") << u8("～－～\\");
        QTest::newRow("already the twins") << u8("～－￥") << u8("～－￥");
        QTest::newRow("ascii tilde and hyphen stay") << "a~b-c\\"
                                                     << "a~b-c\\";
        QTest::newRow("plain Japanese") << u8("東京／羽田") << u8("東京／羽田");
        QTest::newRow("empty") << QString() << QString();
    }
    void input_form() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        const QString got = tomarina::input_form(typed);
        QCOMPARE(got, kept);
        // A text box keeps the cursor where it was, so the form never changes the length.
        QCOMPARE(got.size(), typed.size());
        // The kept text is what the directory and the user file read back from code page 932.
        QCOMPARE(decode_cp932(encode_cp932(got)), got);
        QCOMPARE(tomarina::input_form(got), got);
    }
};

QTEST_GUILESS_MAIN(TestTextRules)
#include "test_text_rules.moc"
