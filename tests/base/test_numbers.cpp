// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/colors.h"
#include "base/numbers.h"

#include <QtTest>

class TestNumbers final : public QObject
{
    Q_OBJECT
private slots:
    void roundHalfEven_data();
    void roundHalfEven();
    void toInt16_data();
    void toInt16();
    void toInt32_data();
    void toInt32();
    void bgrColours();
    void arabicNumbers_data();
    void arabicNumbers();
};

void TestNumbers::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("4.5 (a level of 45%)") << 4.5 << 4.0;
    QTest::newRow("5.5 (a level of 55%)") << 5.5 << 6.0;
    QTest::newRow("56.25") << 56.25 << 56.0;
    QTest::newRow("137.5") << 137.5 << 138.0;
    QTest::newRow("0.49") << 0.49 << 0.0;
}

void TestNumbers::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(RoundHalfEven(value), expected);
}

void TestNumbers::toInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << true << 12;
    QTest::newRow("blanks") << "  5 " << true << 5;
    QTest::newRow("half to even") << "2.5" << true << 2;
    QTest::newRow("upper bound") << "32767" << true << 32767;
    QTest::newRow("past upper") << "32768" << false << 0;
    QTest::newRow("lower bound") << "-32768" << true << -32768;
    QTest::newRow("rounds into range") << "32767.4" << true << 32767;
    QTest::newRow("rounds out of range") << "32767.5" << false << 0;
    QTest::newRow("word") << "abc" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("inner blank") << "1 2" << false << 0;
    QTest::newRow("infinity") << "inf" << false << 0;
}

void TestNumbers::toInt16()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto got = ToInt16(text);
    QCOMPARE(got.has_value(), ok);
    if (ok)
        QCOMPARE(int(*got), value);
}

void TestNumbers::toInt32_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");
    QTest::newRow("decimal") << "8421504" << true << qint64(0x808080);
    QTest::newRow("&H hex") << "&H808080" << true << qint64(0x808080);
    QTest::newRow("&H hex with type suffix") << "&HFF8080&" << true << qint64(0xFF8080);
    QTest::newRow("C hex") << "0x0000ff" << true << qint64(0xFF);
    QTest::newRow("hex too wide") << "&H100000000" << false << qint64(0);
    QTest::newRow("bad hex") << "&Hxyz" << false << qint64(0);
    QTest::newRow("too big") << "3000000000" << false << qint64(0);
}

void TestNumbers::toInt32()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    const auto got = ToInt32(text);
    QCOMPARE(got.has_value(), ok);
    if (ok)
        QCOMPARE(qint64(*got), value);
}

void TestNumbers::bgrColours()
{
    // Red sits in the low byte.
    QCOMPARE(ColorFromBgr(0x000080), QColor(0x80, 0, 0));
    QCOMPARE(ColorFromBgr(0xFF8080), QColor(0x80, 0x80, 0xFF));
    QCOMPARE(BgrFromColor(QColor(1, 2, 3)), 0x030201);
}

// Every count, percentage and length the learner reads is written by these:
// one writer, so no place shows Latin digits, a group separator, a hyphen for
// a minus or an unrounded tenth where another does not.
void TestNumbers::arabicNumbers_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a count") << ArabicIndic(1234) << QStringLiteral("١٢٣٤");
    QTest::newRow("zero") << ArabicIndic(0) << QStringLiteral("٠");
    QTest::newRow("below zero") << ArabicIndic(-3) << QStringLiteral("−٣");
    QTest::newRow("a percentage") << ArabicPercent(70) << QStringLiteral("٧٠٪");
    QTest::newRow("seconds, rounded to a tenth") << ArabicSeconds(2.46) << QStringLiteral("٢٫٥");
    QTest::newRow("seconds, never below zero") << ArabicSeconds(-0.2) << QStringLiteral("٠٫٠");
    QTest::newRow("a figure already written") << ArabicDigits(QStringLiteral("-1.5%")) << QStringLiteral("−١٫٥٪");
}

void TestNumbers::arabicNumbers()
{
    QFETCH(QString, written);
    QFETCH(QString, expected);
    QCOMPARE(written, expected);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
