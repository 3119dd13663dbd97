// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/comparisoncache.h"
#include "compare/takecomparison.h"
#include "compare/wordjudge.h"
#include "sound/api/monosound.h"
#include "sound/api/sounddecoder.h"
#include "sound/api/soundmodule.h"

#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CompareView;

// Compares each saved take with the reciter's recitation on a worker thread,
// keeps what it found per recording file, shows it in the view when the panel
// has room for it, and plays a marked stretch of both on request.
class CompareController final : public QObject
{
    Q_OBJECT
public:
    struct Callouts final
    {
        // Plays from..to seconds of a sound file: the reciter's MP3 at the
        // speed the take was judged against (times are of what is heard at
        // it), then the take at full speed.
        std::function<void(const QString &path, double from, double to, double speed)> PlayStretch;
        // The result as one sentence, for a screen reader to find even while the
        // drawing has no room on screen.
        std::function<void(const QString &sentence)> Announce;
        // The author's word times and rule spans of a reciter's sound, when the
        // course gives them; each take is then judged word by word too.
        std::function<std::pair<std::vector<WordJudge::Word>, std::vector<WordJudge::Rule>>(const QString &reference)>
            WordTimes;
    };

    // The least room in which the drawing still says something.
    static constexpr int LeastWidth = 120;
    static constexpr int LeastHeight = 48;
    // Heard around a stretch on both sides, and between the two halves.
    static constexpr double ContextSeconds = 0.15;
    static constexpr int GapMs = 400;

    // sound: decodes the reciter and reads the takes.
    CompareController(CompareView &view, Callouts callouts, SoundModule &sound, QObject *parent = nullptr);

    // After each saved take: the cached comparison at once when the files are
    // unchanged, else a new analysis whose result replaces the drawing.
    // speed: the reciter's as the learner heard it; the take is judged against that.
    void CompareAfterSave(const QString &reference, const QString &take, double speed = 1.0);
    // Another example or page was chosen: nothing shown belongs to it, and a
    // result still on its way is dropped when it comes.
    void Clear();
    // The window is closing: nothing more is started, and what runs is let go.
    void Shutdown();
    // The take's half of a marked stretch, still to come, is not played, and
    // a stretch on repeat is heard no more.
    void StopStretch();
    // The free room below the example's text, in the view's parent's coordinates.
    // The view shows there when it fits and hides when it does not.
    void FitInto(const QRect &room);
    // The reciter's part of a marked stretch, then the learner's, once.
    void PlaySegment(int index);
    // The same, over and over until stopped; on the stretch on repeat, stops it.
    void ToggleRepeat(int index);
    int Repeating() const { return m_repeating; }

    bool IsBusy() const { return m_waiting; }
    bool HasResult() const { return m_hasResult; }
    const TakeComparison &Current() const { return m_current; }
    // The current take word by word; not judged when the course has no word times.
    const WordJudge::Result &Words() const { return m_words; }
    // The comparison's sentence, then what was found word by word.
    QString Sentence() const;
    // The timing difference of a take already judged this run against the
    // reciter, in percent; none when it has not been (or could not be).
    // speed: the one the take is judged at; a judgement at another is not this one.
    std::optional<int> KnownDifference(const QString &reference, const QString &take, double speed = 1.0) const;
    // The same take word by word, when the course gives its word times.
    std::optional<WordJudge::Result> KnownWords(
        const QString &reference, const QString &take, double speed = 1.0) const;

signals:
    void Compared();

private:
    void analyseTake(quint64 generation, const QString &reference, const ComparisonCache::Stamp &referenceStamp,
        const QString &take, std::shared_ptr<const SoundDecoder::Result> decoded, const QString &referenceError,
        int percent);
    void show(const TakeComparison &comparison);
    void updateVisibility();
    void playPair(int index);
    void setRepeating(int index);

    CompareView &m_view;
    Callouts m_callouts;
    ComparisonCache m_cache;
    QString m_reference;
    QString m_take;
    TakeComparison m_current;
    WordJudge::Result m_words;
    bool m_hasResult = false;
    quint64 m_generation = 0;
    bool m_waiting = false; // for the analysis of the take now chosen
    QRect m_room;
    QTimer m_secondHalf;
    QString m_pendingPath;
    double m_pendingFrom = 0;
    double m_pendingTo = 0;
    // A stretch on repeat comes again once the take's half has been heard.
    QTimer m_again;
    int m_repeating = -1;
    std::unique_ptr<SoundDecoder> m_decoder;
    SoundModule::ReadWaveCall m_readWave;
    // The reciter last decoded: the takes of one example share it.
    std::shared_ptr<const MonoSound> m_decoded;
    QString m_decodedPath;
    QString m_decodingPath;
    struct DecodeWaiter final
    {
        quint64 generation = 0;
        QString take;
        int percent = 100;
    };
    std::vector<DecodeWaiter> m_decodeWaiters;
    ComparisonCache::Stamp m_decodedStamp;
    bool m_shutDown = false;
};
