// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/qt/audioconverter.h"

#include <QtTest>
#include <cmath>

namespace {

QAudioFormat format(int rate, int channels, QAudioFormat::SampleFormat sample)
{
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(channels);
    f.setSampleFormat(sample);
    return f;
}

} // namespace

class TestAudioConverter final : public QObject
{
    Q_OBJECT
private slots:
    void rates_data();
    void rates();
    void stereoFloatToUnsigned();
};

void TestAudioConverter::rates_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("chunk");
    QTest::newRow("44100 to 11025 whole") << 44100 << 11025 << 88200;
    QTest::newRow("48000 to 11025 in odd chunks") << 48000 << 11025 << 333;
    QTest::newRow("8000 to 44100 in small chunks") << 8000 << 44100 << 50;
}

// One second in, one second out, whatever the chunks; a sine stays a sine.
void TestAudioConverter::rates()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, chunk);
    AudioConverter converter(format(from, 1, QAudioFormat::Int16), format(to, 1, QAudioFormat::UInt8));
    QByteArray input;
    for (int i = 0; i < from; ++i) {
        const qint16 v = qint16(16000 * std::sin(2 * M_PI * 440.0 * i / from));
        input.append(reinterpret_cast<const char *>(&v), 2);
    }
    QByteArray out;
    for (int pos = 0; pos < input.size(); pos += chunk)
        out += converter.Convert(input.mid(pos, chunk));
    // The first input frame only primes the interpolation.
    QVERIFY2(std::abs(out.size() - to) <= to / from + 2, qPrintable(QString::number(out.size())));
    int peak = 0;
    for (char b : out)
        peak = std::max(peak, std::abs(static_cast<unsigned char>(b) - 128));
    // 16000 / 32768 of full scale.
    QVERIFY2(peak >= 58 && peak <= 64, qPrintable(QString::number(peak)));
}

void TestAudioConverter::stereoFloatToUnsigned()
{
    AudioConverter converter(format(8000, 2, QAudioFormat::Float), format(8000, 1, QAudioFormat::UInt8));
    const float frames[] = { 1.0f, 1.0f, -1.0f, -1.0f, 0.5f, -0.5f, 2.0f, 2.0f, 0.0f, 0.0f };
    const QByteArray out = converter.Convert(QByteArray(reinterpret_cast<const char *>(frames), sizeof frames));
    // The first frame primes the interpolation; full scale clips to the ends.
    QCOMPARE(out.size(), 4);
    QCOMPARE(static_cast<unsigned char>(out[0]), 255);
    QCOMPARE(static_cast<unsigned char>(out[1]), 0);
    QCOMPARE(static_cast<unsigned char>(out[2]), 128);
    QCOMPARE(static_cast<unsigned char>(out[3]), 255);
}

QTEST_APPLESS_MAIN(TestAudioConverter)
#include "test_audioconverter.moc"
