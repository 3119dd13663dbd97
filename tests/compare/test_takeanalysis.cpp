// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/speechfeatures.h"
#include "compare/takeanalysis.h"
#include "compare/takefiles.h"
#include "sound/core/resample.h"
#include "sound/qt/soundloader.h"
#include "synthspeech.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Kind = TakeComparison::HeldSegment::Kind;
using Status = TakeComparison::Status;

// Synthetic takes against a synthetic reciter: the lengths of every part are
// known, so where a take is held longer or shorter is known too.
class TestTakeAnalysis final : public QObject
{
    Q_OBJECT
private slots:
    void heldSoundsAreFound_data();
    void heldSoundsAreFound();
    void takesThatCannotBeComparedAreSaidSo_data();
    void takesThatCannotBeComparedAreSaidSo();
    void resamplingKeepsPitchAndLength_data();
    void resamplingKeepsPitchAndLength();
    void cepstraFollowTheSpectrumNotTheLoudness_data();
    void cepstraFollowTheSpectrumNotTheLoudness();

private:
    // Writes the take as the recorder does: 8-bit unsigned, 11025 Hz, mono.
    QString writeTake(const QString &name, const MonoSound &sound);
    QTemporaryDir m_dir;
};

QString TestTakeAnalysis::writeTake(const QString &name, const MonoSound &sound)
{
    const QString path = m_dir.filePath(name + ".wav");
    return writeTakeFile(path, sound) ? path : QString();
}

void TestTakeAnalysis::heldSoundsAreFound_data()
{
    QTest::addColumn<double>("stretch"); // of the word's third part, a vowel
    QTest::addColumn<double>("pace"); // of the whole take
    QTest::addColumn<double>("lead");
    QTest::addColumn<double>("tail");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("longer");
    QTest::addColumn<int>("shorter");
    QTest::addColumn<int>("percent");

    const int compared = int(Status::Compared);
    // 0.30 s of 1.45 s more is 21 %; 0.15 s less is 10 %.
    QTest::newRow("same take") << 1.0 << 1.0 << 0.0 << 0.0 << compared << 0 << 0 << 0;
    QTest::newRow("vowel held twice as long") << 2.0 << 1.0 << 0.0 << 0.0 << compared << 1 << 0 << 21;
    QTest::newRow("vowel held three times as long") << 3.0 << 1.0 << 0.0 << 0.0 << compared << 1 << 0 << 41;
    QTest::newRow("vowel held half as long") << 0.5 << 1.0 << 0.0 << 0.0 << compared << 0 << 1 << -10;
    QTest::newRow("silence before") << 1.0 << 1.0 << 0.7 << 0.0 << compared << 0 << 0 << 0;
    QTest::newRow("silence after") << 1.0 << 1.0 << 0.0 << 0.9 << compared << 0 << 0 << 0;
    QTest::newRow("silence both ends, vowel long") << 2.0 << 1.0 << 0.4 << 0.6 << compared << 1 << 0 << 21;
    // A slower reading holds every sound longer in proportion: nothing is out of place.
    QTest::newRow("slower throughout") << 1.0 << 1.3 << 0.0 << 0.0 << compared << 0 << 0 << 30;
    QTest::newRow("quicker throughout") << 1.0 << 0.8 << 0.0 << 0.0 << compared << 0 << 0 << -20;
    QTest::newRow("slower, vowel held twice") << 2.0 << 1.3 << 0.3 << 0.0 << compared << 1 << 0 << 57;
    QTest::newRow("nothing said") << -1.0 << 1.0 << 2.0 << 0.0 << int(Status::NoVoice) << 0 << 0 << 0;
}

void TestTakeAnalysis::heldSoundsAreFound()
{
    QFETCH(double, stretch);
    QFETCH(double, pace);
    QFETCH(double, lead);
    QFETCH(double, tail);
    QFETCH(int, status);
    QFETCH(int, longer);
    QFETCH(int, shorter);
    QFETCH(int, percent);

    const int rate = SpeechFeatures::Rate;
    const MonoSound reference = synthesize(syntheticWord(), rate);
    // A quiet room: the take's background is not digital silence.
    const std::vector<SynthPart> parts = stretch > 0 ? syntheticWord(stretch, 2, pace) : std::vector<SynthPart> {};
    const MonoSound spoken = synthesize(parts, rate, lead, tail, 0.004f);
    const QString path = writeTake(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'), spoken);
    QVERIFY(!path.isEmpty());
    const std::optional<MonoSound> take = SoundLoader::ReadWave(path, rate);
    QVERIFY(take);

    const TakeComparison result = TakeAnalysis::Compare(reference, *take);
    QCOMPARE(int(result.status), status);
    QVERIFY(!result.Sentence().isEmpty());
    if (result.status != Status::Compared)
        return;
    QCOMPARE(result.CountOf(Kind::Long), longer);
    QCOMPARE(result.CountOf(Kind::Short), shorter);
    QVERIFY2(
        std::abs(result.PercentDifference() - percent) <= 2, qPrintable(QString::number(result.PercentDifference())));
    // The voice is found where it starts, whatever silence comes before it.
    QVERIFY2(std::abs(result.takeStart - lead) < 0.03, qPrintable(QString::number(result.takeStart)));

    if (result.segments.size() == 1) {
        // The marked stretch lies on the changed vowel in both takes.
        const auto &segment = result.segments.front();
        const double vowelStart = partStart(syntheticWord(), 2);
        const double vowelEnd = partStart(syntheticWord(), 3);
        const double takeVowelStart = partStart(parts, 2, lead);
        const double takeVowelEnd = partStart(parts, 3, lead);
        const double slack = 0.08;
        QVERIFY2(segment.referenceStart >= vowelStart - slack && segment.referenceEnd <= vowelEnd + slack,
            qPrintable(QStringLiteral("%1..%2").arg(segment.referenceStart).arg(segment.referenceEnd)));
        QVERIFY2(segment.takeStart >= takeVowelStart - slack && segment.takeEnd <= takeVowelEnd + slack,
            qPrintable(QStringLiteral("%1..%2").arg(segment.takeStart).arg(segment.takeEnd)));
        QVERIFY(segment.pathStart <= segment.pathEnd && segment.pathEnd < int(result.path.size()));
    }
}

void TestTakeAnalysis::takesThatCannotBeComparedAreSaidSo_data()
{
    QTest::addColumn<QByteArray>("takeBytes"); // empty: no file at all
    QTest::addColumn<bool>("referenceExists");
    QTest::addColumn<int>("status");
    QTest::newRow("no take") << QByteArray() << true << int(Status::TakeUnreadable);
    QTest::newRow("take is not a wave") << QByteArray("RIFF\x10\0\0\0WAVEjunk", 16) << true
                                        << int(Status::TakeUnreadable);
    QTest::newRow("no reciter's file") << QByteArray("wave") << false << int(Status::ReferenceUnreadable);
    QTest::newRow("recorder left running") << QByteArray("long") << true << int(Status::TooLong);
}

void TestTakeAnalysis::takesThatCannotBeComparedAreSaidSo()
{
    QFETCH(QByteArray, takeBytes);
    QFETCH(bool, referenceExists);
    QFETCH(int, status);
    QString take = m_dir.filePath(QStringLiteral("missing.wav"));
    if (takeBytes == "wave") {
        take = writeTake(QStringLiteral("good"), synthesize(syntheticWord(), SpeechFeatures::Rate));
    } else if (takeBytes == "long") {
        std::vector<SynthPart> parts;
        while (partStart(parts, int(parts.size())) < TakeAnalysis::LongestVoiceSeconds + 1)
            for (const SynthPart &part : syntheticWord())
                parts.push_back(part);
        take = writeTake(QStringLiteral("long"), synthesize(parts, SpeechFeatures::Rate));
    } else if (!takeBytes.isEmpty()) {
        take = m_dir.filePath(QStringLiteral("broken.wav"));
        QFile file(take);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(takeBytes);
    }
    QString reference = m_dir.filePath(QStringLiteral("reference.wav"));
    if (referenceExists)
        reference = writeTake(QStringLiteral("reference"), synthesize(syntheticWord(), SpeechFeatures::Rate));
    else
        reference = m_dir.filePath(QStringLiteral("nowhere.mp3"));

    const TakeComparison result = TakeFiles::CompareFiles(reference, take);
    QCOMPARE(int(result.status), status);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(result.segments.empty());
}

void TestTakeAnalysis::resamplingKeepsPitchAndLength_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("44100 down") << 44100 << 11025;
    QTest::newRow("48000 down") << 48000 << 11025;
    QTest::newRow("8000 up") << 8000 << 11025;
}

void TestTakeAnalysis::resamplingKeepsPitchAndLength()
{
    QFETCH(int, from);
    QFETCH(int, to);
    // One second of 440 Hz, which every rate here carries, and of 7 kHz, which
    // must not fold back into the speech band when the rate is lowered.
    const bool lowering = from > to;
    std::vector<float> tone(static_cast<size_t>(from));
    for (int i = 0; i < from; ++i) {
        const double t = double(i) / from;
        tone[size_t(i)]
            = float(0.5 * std::sin(2 * M_PI * 440.0 * t) + (lowering ? 0.3 * std::sin(2 * M_PI * 7000.0 * t) : 0.0));
    }
    const std::vector<float> out = Resample(tone, from, to);
    QVERIFY(std::abs(int(out.size()) - to) <= 1);
    // Correlation with the 440 Hz tone at the new rate, away from the edges.
    double dot = 0, norm = 0, ref = 0;
    for (int i = to / 10; i < to - to / 10; ++i) {
        const double expected = 0.5 * std::sin(2 * M_PI * 440.0 * i / to);
        dot += out[size_t(i)] * expected;
        norm += double(out[size_t(i)]) * out[size_t(i)];
        ref += expected * expected;
    }
    const double correlation = dot / std::sqrt(norm * ref);
    QVERIFY2(correlation > 0.99, qPrintable(QString::number(correlation)));
    QVERIFY2(std::abs(std::sqrt(norm / ref) - 1.0) < 0.05, qPrintable(QString::number(std::sqrt(norm / ref))));
}

void TestTakeAnalysis::cepstraFollowTheSpectrumNotTheLoudness_data()
{
    // Two sounds of two halves each: a low then a high tone at a gain, against
    // the first one. Cepstra that move with the gain would judge a quiet learner
    // differently; cepstra blind to the order would align anything with anything.
    QTest::addColumn<double>("gain");
    QTest::addColumn<double>("firstHz");
    QTest::addColumn<double>("secondHz");
    QTest::addColumn<bool>("alike");
    QTest::newRow("the same, quieter") << 0.05 << 400.0 << 1800.0 << true;
    QTest::newRow("the same, louder") << 1.6 << 400.0 << 1800.0 << true;
    QTest::newRow("halves swapped") << 1.0 << 1800.0 << 400.0 << false;
    QTest::newRow("another high tone") << 1.0 << 400.0 << 3000.0 << false;
}

void TestTakeAnalysis::cepstraFollowTheSpectrumNotTheLoudness()
{
    QFETCH(double, gain);
    QFETCH(double, firstHz);
    QFETCH(double, secondHz);
    QFETCH(bool, alike);
    const auto halves = [](double g, double a, double b) {
        MonoSound sound;
        sound.rate = SpeechFeatures::Rate;
        for (int i = 0; i < SpeechFeatures::Rate * 6 / 10; ++i) {
            const double hz = i < SpeechFeatures::Rate * 3 / 10 ? a : b;
            sound.samples.push_back(float(0.4 * g * std::sin(2 * M_PI * hz * i / SpeechFeatures::Rate)));
        }
        return sound;
    };
    const SpeechFeatures::Span span { 5, 50 };
    const std::vector<float> base = SpeechFeatures::Cepstra(halves(1.0, 400.0, 1800.0), span);
    const std::vector<float> other = SpeechFeatures::Cepstra(halves(gain, firstHz, secondHz), span);
    QCOMPARE(base.size(), size_t(span.Count()) * SpeechFeatures::Coefficients);
    QCOMPARE(other.size(), base.size());
    double difference = 0, spread = 0;
    for (size_t i = 0; i < base.size(); ++i) {
        difference += std::abs(base[i] - other[i]);
        spread += std::abs(base[i]);
    }
    QVERIFY(spread > 0);
    const double relative = difference / spread;
    if (alike)
        QVERIFY2(relative < 1e-3, qPrintable(QString::number(relative)));
    else
        QVERIFY2(relative > 0.3, qPrintable(QString::number(relative)));
}

QTEST_GUILESS_MAIN(TestTakeAnalysis)
#include "test_takeanalysis.moc"
