#include "countdown/number_text.h"
#include "countdown/run_error.h"

#include <QElapsedTimer>
#include <QTest>
#include <cmath>
#include <limits>

using namespace quennix;

Q_DECLARE_METATYPE(quennix::RunError)

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void errorTexts_data();
    void errorTexts();
    void numericValue_data();
    void numericValue();
    void numericValueIsLinearOnHugeText_data();
    void numericValueIsLinearOnHugeText();
    void wholeNumber_data();
    void wholeNumber();
    void numberText_data();
    void numberText();
    void truthValue_data();
    void truthValue();
};

void TestNumberText::errorTexts_data() {
    QTest::addColumn<RunError>("error");
    QTest::addColumn<QString>("errText");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<QString>("errorTextSigned");

    QTest::newRow("overflow") << RunError::overflow() << "Err(6), Overflow"
                              << "Error(6), Overflow"
                              << "Error( 6), Overflow";
    QTest::newRow("file not found") << RunError::fileNotFound() << "Err(53), File not found"
                                    << "Error(53), File not found"
                                    << "Error( 53), File not found";
    // No blank where the sign stands; and "%1" in a description is kept as written.
    QTest::newRow("negative, percent") << RunError(-5, "100%1 wrong") << "Err(-5), 100%1 wrong"
                                       << "Error(-5), 100%1 wrong"
                                       << "Error(-5), 100%1 wrong";
}

void TestNumberText::errorTexts() {
    QFETCH(RunError, error);
    QFETCH(QString, errText);
    QFETCH(QString, errorText);
    QFETCH(QString, errorTextSigned);

    QCOMPARE(error.errText(), errText);
    QCOMPARE(error.errorText(), errorText);
    QCOMPARE(error.errorTextSigned(), errorTextSigned);
    QCOMPARE(QString::fromUtf8(error.what()), errText);
}

void TestNumberText::numericValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("integer") << "123" << 123.0;
    QTest::newRow("blanks inside") << " 1 2 3 " << 123.0;
    QTest::newRow("blank after sign") << " - 5" << -5.0;
    QTest::newRow("tabs and line breaks") << "\t1\r\n2" << 12.0;
    QTest::newRow("fraction") << "-2.5" << -2.5;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("exact tenth") << "0.1" << 0.1;
    QTest::newRow("exponent E") << "1E3" << 1000.0;
    QTest::newRow("exponent D") << "1D3" << 1000.0;
    QTest::newRow("exponent d negative") << "1d-2" << 0.01;
    QTest::newRow("blanks in exponent") << "1 E - 2" << 0.01;
    QTest::newRow("E without digits") << "1E" << 1.0;
    QTest::newRow("E and sign without digits") << "1E+" << 1.0;
    QTest::newRow("E then letter") << "4Ex5" << 4.0;
    QTest::newRow("stops at letter") << "12abc" << 12.0;
    QTest::newRow("stops at second point") << "1.2.3" << 1.2;
    QTest::newRow("hex is not read") << "0x10" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("minus zero") << "-0" << 0.0;
    QTest::newRow("leading zeros") << "000123.000" << 123.0;
    QTest::newRow("overflow") << "1E400" << kInf;
    QTest::newRow("negative overflow") << "-1E400" << -kInf;
    QTest::newRow("underflow") << "1E-400" << 0.0;
    QTest::newRow("huge exponent digits") << "1E99999999999999999999" << kInf;
    // Many digits: the value must still be the correctly rounded double.
    QTest::newRow("long mantissa scaled back")
        << "1" + QString(900, QLatin1Char('0')) + "E-900" << 1.0;
    QTest::newRow("long fraction of zeros")
        << "0." + QString(300, QLatin1Char('0')) + "1E301" << 1.0;
    // 2^53 + 1 lies halfway between two doubles; a nonzero digit far past the
    // kept digits decides that it rounds up.
    QTest::newRow("far digit breaks a tie")
        << "9007199254740993." + QString(900, QLatin1Char('0')) + "1" << 9007199254740994.0;
    QTest::newRow("exact tie rounds to even")
        << "9007199254740993." + QString(900, QLatin1Char('0')) << 9007199254740992.0;
    // Either side of the shortcut for short numbers (up to 15 digits, powers
    // of ten up to 22): the double must be the correctly rounded one on both.
    QTest::newRow("15 digits") << "123456789012345" << 123456789012345.0;
    QTest::newRow("16 digits") << "1234567890123456789" << 1234567890123456789.0;
    QTest::newRow("15 digits, 22 places") << "0.0000000123456789012345" << 0.0000000123456789012345;
    QTest::newRow("15 digits, 23 places")
        << "0.00000000123456789012345" << 0.00000000123456789012345;
    QTest::newRow("times 1E22") << "123456789012345E22" << 123456789012345E22;
    QTest::newRow("times 1E23") << "9E23" << 9E23;
    QTest::newRow("a third") << "0.333333333333333" << 0.333333333333333;
    QTest::newRow("largest double") << "1.7976931348623157E308" << 1.7976931348623157E308;
    QTest::newRow("just past the largest") << "1.797693134862316E308" << kInf;
    QTest::newRow("smallest denormal") << "4.9406564584124654E-324" << 4.9406564584124654E-324;
    QTest::newRow("below half the smallest") << "2E-324" << 0.0;
    QTest::newRow("far out, many digits") << "123456789E99999" << kInf;
}

void TestNumberText::numericValue() {
    QFETCH(QString, text);
    QFETCH(double, expected);

    const double actual = quennix::numericValue(text);
    QVERIFY2(actual == expected, qPrintable(QString::number(actual, 'g', 17)));
}

void TestNumberText::numericValueIsLinearOnHugeText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    constexpr int kSize = 4'000'000;
    QTest::newRow("digits") << QString(kSize, QLatin1Char('9')) << kInf;
    QTest::newRow("blanks then a digit") << QString(kSize, QLatin1Char(' ')) + "7" << 7.0;
    QTest::newRow("fraction zeros") << "0." + QString(kSize, QLatin1Char('0')) + "5" << 0.0;
    QTest::newRow("digit and blank") << QString("1 ").repeated(kSize / 2) << kInf;
}

void TestNumberText::numericValueIsLinearOnHugeText() {
    QFETCH(QString, text);
    QFETCH(double, expected);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(quennix::numericValue(text), expected);
    QVERIFY2(timer.elapsed() < 5000, "reading took too long");
}

void TestNumberText::wholeNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<int>("expected");

    QTest::newRow("2.5 to even") << 2.5 << false << 2;
    QTest::newRow("3.5 to even") << 3.5 << false << 4;
    QTest::newRow("-2.5 to even") << -2.5 << false << -2;
    QTest::newRow("0.5 to even") << 0.5 << false << 0;
    QTest::newRow("-0.5 to even") << -0.5 << false << 0;
    QTest::newRow("below half") << 2.4999999 << false << 2;
    QTest::newRow("above half") << 2.5000001 << false << 3;
    QTest::newRow("top") << 2147483647.0 << false << 2147483647;
    QTest::newRow("top plus a bit") << 2147483647.4 << false << 2147483647;
    QTest::newRow("top half rounds out") << 2147483647.5 << true << 0;
    QTest::newRow("bottom half rounds to even") << -2147483648.5 << false << int(-2147483648LL);
    QTest::newRow("below bottom") << -2147483648.6 << true << 0;
    QTest::newRow("huge") << 1e300 << true << 0;
    QTest::newRow("infinity") << kInf << true << 0;
    QTest::newRow("NaN") << kNaN << true << 0;
}

void TestNumberText::wholeNumber() {
    QFETCH(double, value);
    QFETCH(bool, overflows);
    QFETCH(int, expected);

    try {
        const qint32 actual = quennix::wholeNumber(value);
        QVERIFY2(!overflows, "no overflow raised");
        QCOMPARE(actual, expected);
    } catch (const RunError &e) {
        QVERIFY2(overflows, qPrintable(e.errText()));
        QCOMPARE(e.number(), 6);
    }
}

void TestNumberText::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("signedText");

    QTest::newRow("integer") << 15.0 << "15"
                             << " 15";
    QTest::newRow("negative") << -120.0 << "-120"
                              << "-120";
    QTest::newRow("fraction") << 7.5 << "7.5"
                              << " 7.5";
    QTest::newRow("single tenth") << double(0.1f) << "0.1"
                                  << " 0.1";
    QTest::newRow("year") << 1608.0 << "1608"
                          << " 1608";
    QTest::newRow("seven digits") << 1234567.0 << "1234567"
                                  << " 1234567";
    QTest::newRow("eight digits") << 12345678.0 << "1.234568E+07"
                                  << " 1.234568E+07";
    QTest::newRow("ten million") << 1e7 << "1E+07"
                                 << " 1E+07";
    QTest::newRow("small") << 0.00001 << "1E-05"
                           << " 1E-05";
    QTest::newRow("not yet small") << 0.0001 << "0.0001"
                                   << " 0.0001";
    QTest::newRow("negative small") << -1.5e-10 << "-1.5E-10"
                                    << "-1.5E-10";
    QTest::newRow("third") << 1.0 / 3 << "0.3333333"
                           << " 0.3333333";
    // Precision is the single-precision value's, not the double's.
    QTest::newRow("single rounding") << 16777217.0 << "1.677722E+07"
                                     << " 1.677722E+07";
    QTest::newRow("single noise hidden") << double(123.456f) << "123.456"
                                         << " 123.456";
    QTest::newRow("zero") << 0.0 << "0"
                          << " 0";
    QTest::newRow("minus zero") << -0.0 << "0"
                                << " 0";
    QTest::newRow("too big for single") << 1e300 << "Infinity"
                                        << " Infinity";
}

void TestNumberText::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(QString, signedText);

    QCOMPARE(quennix::numberText(value), text);
    QCOMPARE(quennix::signedNumberText(value), signedText);
}

void TestNumberText::truthValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<bool>("expected");

    QTest::newRow("True") << "True" << false << true;
    QTest::newRow("False") << "False" << false << false;
    QTest::newRow("lower-case true is a number") << "true" << false << false;
    QTest::newRow("padded True is a number") << " True" << false << false;
    QTest::newRow("one") << "1" << false << true;
    QTest::newRow("minus one") << "-1" << false << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("0.4 rounds to 0") << "0.4" << false << false;
    QTest::newRow("0.5 rounds to even 0") << "0.5" << false << false;
    QTest::newRow("0.6 rounds to 1") << "0.6" << false << true;
    QTest::newRow("number then words") << "7 days" << false << true;
    QTest::newRow("too big") << "3E10" << true << false;
    QTest::newRow("infinite") << "1E400" << true << false;
}

void TestNumberText::truthValue() {
    QFETCH(QString, text);
    QFETCH(bool, overflows);
    QFETCH(bool, expected);

    try {
        QCOMPARE(quennix::truthValue(text), expected);
        QVERIFY2(!overflows, "no overflow raised");
    } catch (const RunError &e) {
        QVERIFY2(overflows, qPrintable(e.errText()));
        QCOMPARE(e.number(), 6);
    }
    // The text written for a truth reads back as the same truth.
    QCOMPARE(quennix::truthValue(truthText(expected)), expected);
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
