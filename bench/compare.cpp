// SPDX-License-Identifier: GPL-3.0-or-later

// How long the comparison of a take with the reciter's takes, and how long the
// window is kept from its events meanwhile.
#include "compare/comparecontroller.h"
#include "compare/compareview.h"
#include "compare/speechfeatures.h"
#include "compare/takeanalysis.h"
#include "compare/wordjudge.h"
#include "sound/qt/qtsoundmodule.h"
#include "sound/qt/soundloader.h"
#include "synthspeech.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int Runs = 5;

// Words one after the other until the reciter's take is long enough; the
// learner says as many words and holds one vowel of every other word twice as long.
std::vector<SynthPart> speech(double seconds, bool learner)
{
    std::vector<SynthPart> parts;
    double total = 0;
    for (int word = 0; total < seconds; ++word) {
        for (const SynthPart &p : syntheticWord(1.0, 2 + (word % 3) * 2))
            total += p.seconds;
        total += 0.15;
        const std::vector<SynthPart> w = syntheticWord(learner && word % 2 == 0 ? 2.0 : 1.0, 2 + (word % 3) * 2);
        parts.insert(parts.end(), w.begin(), w.end());
        parts.push_back(pause(0.15));
    }
    return parts;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;

    for (double seconds : { 2.0, 5.0, 10.0 }) {
        const QString tag = QString::number(seconds);
        const QString wav = dir.filePath(tag + "-reference.wav");
        const QString mp3 = dir.filePath(tag + "-reference.mp3");
        const QString take = dir.filePath(tag + "-take.wav");
        MonoSound reference = synthesize(speech(seconds, false), 22050, 0.2, 0.3, 0.001f);
        if (!writeTakeFile(wav, reference)
            || !writeTakeFile(take, synthesize(speech(seconds, true), 11025, 0.5, 0.5, 0.004f))
            || QProcess::execute("lame", { "--quiet", "-b", "64", wav, mp3 }) != 0) {
            out << "could not make the sounds (lame and libsndfile are needed)" << Qt::endl;
            return 1;
        }

        // The analysis itself, on this thread: decoding, reading, aligning.
        std::vector<double> total, decode, align;
        TakeComparison result;
        for (int run = 0; run < Runs; ++run) {
            QElapsedTimer clock;
            clock.start();
            const auto decoded = SoundLoader::DecodeCompressed(mp3, SpeechFeatures::Rate);
            const double decodeMs = clock.nsecsElapsed() / 1e6;
            const auto recorded = SoundLoader::ReadWave(take, SpeechFeatures::Rate);
            QElapsedTimer alignClock;
            alignClock.start();
            if (decoded && recorded)
                result = TakeAnalysis::Compare(*decoded, *recorded);
            align.push_back(alignClock.nsecsElapsed() / 1e6);
            total.push_back(clock.nsecsElapsed() / 1e6);
            decode.push_back(decodeMs);
        }

        // Word by word on top of it: the reciter's voice cut into words of 0.4 s,
        // a two-count rule on every third, judged and said.
        std::vector<WordJudge::Word> words;
        std::vector<WordJudge::Rule> rules;
        for (double at = result.referenceStart; at + 0.4 <= result.referenceEnd; at += 0.4) {
            words.push_back({ at, at + 0.4, QStringLiteral("كلمة") });
            if (words.size() % 3 == 0)
                rules.push_back({ at, at + 0.4, QStringLiteral("غنة"), 2, 2, 2 });
        }
        std::vector<double> judging;
        for (int run = 0; run < Runs; ++run) {
            QElapsedTimer clock;
            clock.start();
            const WordJudge::Result judged = WordJudge::Judge(result, words, rules);
            const QString sentence = judged.Sentence();
            judging.push_back(clock.nsecsElapsed() / 1e6);
            Q_UNUSED(sentence)
        }

        // Through the controller, as the window runs it: a 1 ms timer on the
        // window's thread measures the longest gap between its ticks.
        CompareView view;
        view.setLayoutDirection(Qt::RightToLeft);
        view.SetColors(QColor(40, 30, 20), QColor(30, 140, 60));
        view.resize(400, 90);
        view.show();
        QtSoundModule sound;
        CompareController controller(view, {}, sound);
        controller.FitInto(QRect(0, 0, 400, 90));
        QElapsedTimer gap;
        qint64 longestGapNs = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGapNs = std::max(longestGapNs, gap.nsecsElapsed());
            gap.restart();
        });
        QSignalSpy compared(&controller, &CompareController::Compared);
        gap.start();
        ticker.start();
        QElapsedTimer wall;
        wall.start();
        controller.CompareAfterSave(mp3, take);
        while (compared.isEmpty() && wall.elapsed() < 20000)
            app.processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double controllerMs = wall.nsecsElapsed() / 1e6;
        // The view draws what came back; that paint is part of the stall too.
        for (int i = 0; i < 5; ++i) {
            view.repaint();
            app.processEvents();
        }
        ticker.stop();
        // A look at the drawing, to judge it by eye.
        const QString picture = qEnvironmentVariable("RATTIL_BENCH_PICTURE");
        if (!picture.isEmpty())
            view.grab().save(QStringLiteral("%1-%2s.png").arg(picture, tag));

        out << QStringLiteral("take_s=%1 analysis_ms=%2 decode_mp3_ms=%3 align_ms=%4 via_controller_ms=%5 "
                              "longest_ui_stall_ms=%6 segments=%7 words=%9 word_by_word_ms=%10 (median of %8 runs)")
                   .arg(seconds)
                   .arg(median(total), 0, 'f', 1)
                   .arg(median(decode), 0, 'f', 1)
                   .arg(median(align), 0, 'f', 1)
                   .arg(controllerMs, 0, 'f', 1)
                   .arg(longestGapNs / 1e6 - 1.0, 0, 'f', 1)
                   .arg(result.segments.size())
                   .arg(Runs)
                   .arg(words.size())
                   .arg(median(judging), 0, 'f', 2)
            << Qt::endl;
        if (qEnvironmentVariableIsSet("RATTIL_BENCH_SEGMENTS"))
            for (const auto &s : result.segments)
                out << (s.kind == TakeComparison::HeldSegment::Kind::Long ? "  long " : "  short ") << s.referenceStart
                    << "-" << s.referenceEnd << " / " << s.takeStart << "-" << s.takeEnd << Qt::endl;
    }
    return 0;
}
