// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/core/tempostretch.h"

#include <QtTest>

#include <cmath>

// The slowing itself, on sounds made here: its length, its pitch, and a
// start and end that are not cut off.
class TestTempoStretch final : public QObject
{
    Q_OBJECT
private slots:
    void keepsPitchAndStretchesTime_data();
    void keepsPitchAndStretchesTime();
};

namespace {

std::vector<float> tone(double frequency, double seconds, int rate)
{
    std::vector<float> s(size_t(seconds * rate));
    for (size_t n = 0; n < s.size(); ++n)
        s[n] = float(0.5 * std::sin(2 * M_PI * frequency * double(n) / rate));
    return s;
}

// Zero crossings over the loud part, and that part's length in seconds.
std::pair<double, double> measure(const std::vector<float> &s, int rate)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < qsizetype(s.size()); ++i)
        if (std::abs(s[size_t(i)]) > 0.1f) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0)
        return { 0, 0 };
    int crossings = 0;
    for (qsizetype i = first + 1; i <= last; ++i)
        if ((s[size_t(i - 1)] < 0) != (s[size_t(i)] < 0))
            ++crossings;
    const double seconds = double(last - first) / rate;
    return { crossings / 2.0 / seconds, seconds };
}

} // namespace

void TestTempoStretch::keepsPitchAndStretchesTime_data()
{
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("speed");
    QTest::newRow("440 Hz at 85 %") << 440.0 << 22050 << 0.85;
    QTest::newRow("440 Hz at 70 %") << 440.0 << 22050 << 0.70;
    QTest::newRow("440 Hz at 50 %") << 440.0 << 22050 << 0.50;
    // A low voice's period is longer than the search's reach is short.
    QTest::newRow("a low voice, 110 Hz, at 50 %") << 110.0 << 22050 << 0.50;
    // The comparison slows the reciter at its own analysis rate.
    QTest::newRow("at the comparison's rate") << 440.0 << 11025 << 0.70;
    QTest::newRow("full speed is the sound itself") << 440.0 << 22050 << 1.0;
}

void TestTempoStretch::keepsPitchAndStretchesTime()
{
    QFETCH(double, frequency);
    QFETCH(int, rate);
    QFETCH(double, speed);
    const std::vector<float> in = tone(frequency, 1.5, rate);
    const std::vector<float> out = TempoStretch::Stretch(in, rate, speed);
    QCOMPARE(qsizetype(out.size()), qsizetype(std::llround(in.size() / speed)));
    const auto [heard, seconds] = measure(out, rate);
    QVERIFY2(std::abs(heard - frequency) < frequency * 0.03, qPrintable(QString::number(heard)));
    QVERIFY2(std::abs(seconds - 1.5 / speed) < 0.05, qPrintable(QString::number(seconds)));

    // The WAV that players are handed says the same length and rate.
    const QByteArray wave = TempoStretch::Wave(out, rate);
    QCOMPARE(wave.left(4), QByteArray("RIFF"));
    QCOMPARE(qFromLittleEndian<quint32>(wave.constData() + 24), quint32(rate));
    QCOMPARE(qFromLittleEndian<quint32>(wave.constData() + 40), quint32(out.size() * 2));
}

QTEST_GUILESS_MAIN(TestTempoStretch)
#include "test_tempostretch.moc"
