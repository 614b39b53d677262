#include "analysis/NoteCorner.h"
#include "model/HexText.h"
#include "model/NumericText.h"
#include "model/Rounding.h"

#include <QtTest>

class TestHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A 100 x 100 area, a 40 x 20 note: the corner holding the fewest points, top right on a tie.
    void noteGoesToTheEmptiestCorner_data()
    {
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<int>("corner");
        QTest::newRow("no points") << QVector<QPointF>{} << int(NoteCorner::TopRight);
        QTest::newRow("peak top right") << QVector<QPointF>{{90, 5}, {50, 50}} << int(NoteCorner::TopLeft);
        QTest::newRow("both top corners")
            << QVector<QPointF>{{90, 5}, {10, 5}, {10, 95}} << int(NoteCorner::BottomRight);
        QTest::newRow("all but bottom left")
            << QVector<QPointF>{{90, 5}, {10, 5}, {90, 95}} << int(NoteCorner::BottomLeft);
        QTest::newRow("fewest wins") << QVector<QPointF>{{90, 5},  {10, 5},  {12, 6},
                                                         {90, 95}, {88, 90}, {20, 90}}
                                     << int(NoteCorner::TopRight);
    }
    void noteGoesToTheEmptiestCorner()
    {
        QFETCH(QVector<QPointF>, points);
        QFETCH(int, corner);
        QCOMPARE(int(NoteCorner::emptiest(points, QSizeF(100, 100), QSizeF(40, 20))), corner);
    }

    void hexPadPadsButNeverTruncates()
    {
        QCOMPARE(HexPad(5, 2), QStringLiteral("05"));
        QCOMPARE(HexPad(300, 2), QStringLiteral("12C"));
        QCOMPARE(HexPad(0, 0), QStringLiteral("0"));
    }

    void hexToLongReadsLeadingDigits()
    {
        QCOMPARE(HexToLong(QStringLiteral("FFFF")), 65535);
        QCOMPARE(HexToLong(QStringLiteral("ffff")), 65535);
        QCOMPARE(HexToLong(QStringLiteral("1G")), 1);
        QCOMPARE(HexToLong(QStringLiteral("xyz")), 0);
        // An eight-digit value with the top bit set comes out negative and is lifted.
        QCOMPARE(HexToLong(QStringLiteral("FFFFFFFF")), 65535);
        // More than eight digits do not fit: refused, with the reason, rather than wrapped.
        bool ok = false;
        QCOMPARE(HexToLong(QStringLiteral("7FFFFFFF"), &ok), 0x7FFFFFFF);
        QVERIFY(ok && HexTextError(QStringLiteral("7FFFFFFF")).isEmpty());
        QCOMPARE(HexToLong(QStringLiteral("123456789"), &ok), 0);
        QVERIFY(!ok);
        QCOMPARE(
            HexTextError(QStringLiteral("123456789 h")),
            QStringLiteral(
                "\"123456789 h\" has more than 8 hexadecimal digits: the value does not fit in 32 bits"));
    }

    void roundingGoesToEven()
    {
        QCOMPARE(roundHalfEven(2.5), 2.0);
        QCOMPARE(roundHalfEven(3.5), 4.0);
        QCOMPARE(roundHalfEven(-0.5), -0.0);
        QCOMPARE(roundHalfEven(0.125, 2), 0.12);
        QCOMPARE(roundHalfEven(0.375, 2), 0.38);
        QCOMPARE(roundToInt(4.5), 4);
        QCOMPARE(roundToInt(1e300), std::numeric_limits<int>::max());
        QCOMPARE(roundToInt(-1e300), std::numeric_limits<int>::min());
        QCOMPARE(roundToInt(std::nan("")), 0);
    }

    void numericValueTakesTheLeadingNumber()
    {
        QCOMPARE(numericValue(QStringLiteral("  4.9152 MHz")), 4.9152);
        QCOMPARE(numericValue(QStringLiteral("abc")), 0.0);
        QCOMPARE(numericValue(QStringLiteral("-1234,56,")), -1234.0); // a decimal comma ends it
        QCOMPARE(numericValue(QStringLiteral("1 2 3")), 123.0);
        QCOMPARE(numericValue(QStringLiteral(".5")), 0.5);
        QCOMPARE(numericValue(QStringLiteral("1.5.3")), 1.5);
        QCOMPARE(numericValue(QStringLiteral("1e3")), 1000.0);
        QCOMPARE(numericValue(QStringLiteral("2.5D-1")), 0.25);
        QCOMPARE(numericValue(QStringLiteral("1e")), 1.0);
        QCOMPARE(numericValue(QStringLiteral("-")), 0.0);
        QCOMPARE(numericValue(QStringLiteral(".")), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
