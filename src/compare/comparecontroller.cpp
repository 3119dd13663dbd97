// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/comparecontroller.h"

#include "compare/compareview.h"
#include "compare/speechfeatures.h"
#include "compare/takeanalysis.h"
#include "sound/core/resample.h"
#include "sound/core/tempostretch.h"

#include <QFutureWatcher>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>

namespace {

struct Outcome final
{
    TakeComparison comparison;
    ComparisonCache::Stamp takeStamp;
    // At the analysis' rate, kept for the next take of the same example.
    std::shared_ptr<const MonoSound> reference;
};

// On a worker thread, on samples already in memory: nothing here waits for an
// event loop, so a shutdown never waits long for it. The take is stamped before
// it is read: if it is saved again meanwhile, the stamp no longer matches and
// the cache misses.
Outcome analyse(const SoundModule::ReadWaveCall &readWave, std::shared_ptr<const MonoSound> reference,
    std::shared_ptr<const SoundDecoder::Result> decoded, QString referenceError, const QString &take, int percent)
{
    Outcome outcome;
    outcome.takeStamp = ComparisonCache::Stamp::Of(take);
    if (!reference && decoded) {
        auto resampled = std::make_shared<MonoSound>();
        resampled->samples = Resample(decoded->samples, decoded->rate, SpeechFeatures::Rate);
        resampled->rate = SpeechFeatures::Rate;
        reference = std::move(resampled);
    }
    // An unreadable take is said first: it is the learner's to mend.
    QString takeError;
    const std::optional<MonoSound> takeSound = readWave(take, SpeechFeatures::Rate, &takeError);
    if (!takeSound) {
        outcome.comparison.status = TakeComparison::Status::TakeUnreadable;
        outcome.comparison.error = takeError;
        return outcome;
    }
    if (!reference) {
        outcome.comparison.status = TakeComparison::Status::ReferenceUnreadable;
        outcome.comparison.error = referenceError;
        return outcome;
    }
    if (percent < 100) {
        // Slowed as the learner heard it: timing is judged against that.
        MonoSound heard;
        heard.rate = reference->rate;
        heard.samples = TempoStretch::Stretch(reference->samples, reference->rate, percent / 100.0);
        outcome.comparison = TakeAnalysis::Compare(heard, *takeSound);
    } else {
        outcome.comparison = TakeAnalysis::Compare(*reference, *takeSound);
    }
    outcome.comparison.referencePercent = percent;
    outcome.reference = std::move(reference);
    return outcome;
}

} // namespace

CompareController::CompareController(CompareView &view, Callouts callouts, SoundModule &sound, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_callouts(std::move(callouts))
    , m_decoder(sound.MakeDecoder())
    , m_readWave(sound.WaveReader())
{
    m_secondHalf.setSingleShot(true);
    connect(&m_secondHalf, &QTimer::timeout, this, [this] {
        if (m_callouts.PlayStretch)
            m_callouts.PlayStretch(m_pendingPath, m_pendingFrom, m_pendingTo, 1.0);
        if (m_repeating >= 0)
            m_again.start(int((m_pendingTo - m_pendingFrom) * 1000) + GapMs);
    });
    m_again.setSingleShot(true);
    connect(&m_again, &QTimer::timeout, this, [this] {
        if (m_repeating >= 0)
            playPair(m_repeating);
    });
    connect(&m_view, &CompareView::SegmentActivated, this, &CompareController::PlaySegment);
    connect(&m_view, &CompareView::SegmentRepeatToggled, this, &CompareController::ToggleRepeat);
}

void CompareController::CompareAfterSave(const QString &reference, const QString &take, double speed)
{
    if (m_shutDown)
        return;
    m_secondHalf.stop();
    setRepeating(-1);
    m_reference = reference;
    m_take = take;
    const int percent = std::clamp(int(std::lround(speed * 100)), 25, 100);
    const quint64 generation = ++m_generation;
    const std::optional<TakeComparison> cached = m_cache.Find(reference, take);
    if (cached && cached->referencePercent == percent) {
        m_waiting = false;
        show(*cached);
        return;
    }
    m_hasResult = false;
    m_waiting = true;
    m_view.SetBusy();
    updateVisibility();

    const ComparisonCache::Stamp referenceStamp = ComparisonCache::Stamp::Of(reference);
    if (m_decodedPath == reference && m_decodedStamp == referenceStamp && m_decoded) {
        analyseTake(generation, reference, referenceStamp, take, nullptr, QString(), percent);
        return;
    }
    // Takes saved one after the other while the reciter is being decoded all
    // wait for that one decoding: each is analysed (and cached) when it ends.
    if (m_decoder->IsRunning() && m_decodingPath == reference) {
        m_decodeWaiters.push_back({ generation, take, percent });
        return;
    }
    // The reciter's file is decoded here, on the window's thread, by the
    // backend's own threads; only the arithmetic goes to a worker.
    m_decodingPath = reference;
    m_decodeWaiters = { { generation, take, percent } };
    m_decoder->Start(reference, SpeechFeatures::Rate, [this, reference, referenceStamp](SoundDecoder::Result result) {
        const QString error = result.error;
        const auto decoded
            = error.isEmpty() ? std::make_shared<const SoundDecoder::Result>(std::move(result)) : nullptr;
        for (const DecodeWaiter &waiter : std::exchange(m_decodeWaiters, {}))
            analyseTake(waiter.generation, reference, referenceStamp, waiter.take, decoded, error, waiter.percent);
    });
}

void CompareController::analyseTake(quint64 generation, const QString &reference,
    const ComparisonCache::Stamp &referenceStamp, const QString &take,
    std::shared_ptr<const SoundDecoder::Result> decoded, const QString &referenceError, int percent)
{
    std::shared_ptr<const MonoSound> known = decoded ? nullptr : m_decoded;
    if (!decoded && !referenceError.isEmpty())
        known = nullptr;
    auto *watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcher<Outcome>::finished, this,
        [this, watcher, generation, reference, referenceStamp, take] {
            watcher->deleteLater();
            const Outcome outcome = watcher->result();
            if (outcome.reference) {
                m_decoded = outcome.reference;
                m_decodedPath = reference;
                m_decodedStamp = referenceStamp;
            }
            // Kept even when a newer take is already on its way: it is right for
            // the files it stamped, and the learner may go back to them.
            if (outcome.takeStamp.size >= 0)
                m_cache.Store(reference, referenceStamp, take, outcome.takeStamp, outcome.comparison);
            // A result for a take no longer on show is not shown.
            if (generation != m_generation)
                return;
            m_waiting = false;
            show(outcome.comparison);
        });
    watcher->setFuture(QtConcurrent::run(&analyse, m_readWave, known, decoded, referenceError, take, percent));
}

void CompareController::Shutdown()
{
    m_shutDown = true;
    Clear();
}

std::optional<int> CompareController::KnownDifference(const QString &reference, const QString &take, double speed) const
{
    const std::optional<TakeComparison> cached = m_cache.Find(reference, take);
    const int percent = std::clamp(int(std::lround(speed * 100)), 25, 100);
    if (!cached || !cached->IsCompared() || cached->referencePercent != percent)
        return std::nullopt;
    return cached->PercentDifference();
}

std::optional<WordJudge::Result> CompareController::KnownWords(
    const QString &reference, const QString &take, double speed) const
{
    const std::optional<TakeComparison> cached = m_cache.Find(reference, take);
    const int percent = std::clamp(int(std::lround(speed * 100)), 25, 100);
    if (!cached || !cached->IsCompared() || cached->referencePercent != percent || !m_callouts.WordTimes)
        return std::nullopt;
    const auto [words, rules] = m_callouts.WordTimes(reference);
    return WordJudge::Judge(*cached, words, rules);
}

void CompareController::StopStretch()
{
    m_secondHalf.stop();
    setRepeating(-1);
}

void CompareController::Clear()
{
    ++m_generation;
    m_decoder->Cancel();
    m_decodeWaiters.clear();
    m_secondHalf.stop();
    setRepeating(-1);
    m_hasResult = false;
    m_waiting = false;
    m_current = {};
    m_words = {};
    m_reference.clear();
    m_take.clear();
    m_view.Clear();
    updateVisibility();
    // The sentence a screen reader finds goes with the drawing.
    if (m_callouts.Announce)
        m_callouts.Announce(QString());
}

void CompareController::FitInto(const QRect &room)
{
    m_room = room;
    updateVisibility();
}

void CompareController::updateVisibility()
{
    const bool fits = m_room.width() >= LeastWidth && m_room.height() >= LeastHeight;
    const bool something = m_hasResult || m_waiting;
    if (fits && something && !m_take.isEmpty()) {
        m_view.setGeometry(m_room);
        m_view.show();
    } else {
        m_view.hide();
    }
}

void CompareController::show(const TakeComparison &comparison)
{
    m_current = comparison;
    m_words = {};
    if (m_callouts.WordTimes && comparison.IsCompared()) {
        const auto [words, rules] = m_callouts.WordTimes(m_reference);
        m_words = WordJudge::Judge(comparison, words, rules);
    }
    m_hasResult = true;
    m_view.SetComparison(comparison);
    if (m_words.judged) {
        std::vector<double> reference, take;
        for (const WordJudge::WordResult &w : m_words.words) {
            reference.insert(reference.end(), { w.referenceStart, w.referenceEnd });
            take.insert(take.end(), { w.takeStart, w.takeEnd });
        }
        m_view.SetWordEdges(std::move(reference), std::move(take));
    }
    updateVisibility();
    if (m_callouts.Announce)
        m_callouts.Announce(Sentence());
    emit Compared();
}

QString CompareController::Sentence() const
{
    if (!m_hasResult)
        return QString();
    const QString words = m_words.Sentence();
    return words.isEmpty() ? m_current.Sentence() : m_current.Sentence() + QStringLiteral("؛ ") + words;
}

void CompareController::PlaySegment(int index)
{
    setRepeating(-1);
    playPair(index);
}

void CompareController::ToggleRepeat(int index)
{
    const bool again = index != m_repeating;
    m_secondHalf.stop();
    setRepeating(-1);
    if (!again || !m_hasResult || index < 0 || index >= int(m_current.segments.size()) || !m_callouts.PlayStretch)
        return;
    setRepeating(index);
    playPair(index);
}

void CompareController::setRepeating(int index)
{
    m_repeating = index;
    if (index < 0)
        m_again.stop();
    m_view.SetRepeating(index);
}

void CompareController::playPair(int index)
{
    if (!m_hasResult || index < 0 || index >= int(m_current.segments.size()) || !m_callouts.PlayStretch)
        return;
    const TakeComparison::HeldSegment &segment = m_current.segments[size_t(index)];
    const double from = std::max(0.0, segment.referenceStart - ContextSeconds);
    const double to = segment.referenceEnd + ContextSeconds;
    m_pendingPath = m_take;
    m_pendingFrom = std::max(0.0, segment.takeStart - ContextSeconds);
    m_pendingTo = segment.takeEnd + ContextSeconds;
    m_callouts.PlayStretch(m_reference, from, to, m_current.referencePercent / 100.0);
    // The take follows once the reciter's stretch has been heard.
    m_secondHalf.start(int((to - from) * 1000) + GapMs);
}
