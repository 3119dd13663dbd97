#include "compare/comparecontroller.h"

#include "compare/compareview.h"
#include "compare/takeanalysis.h"

#include <QFutureWatcher>
#include <QtConcurrent>

#include <algorithm>

namespace {

struct Outcome final
{
    TakeComparison comparison;
    ComparisonCache::Stamp referenceStamp;
    ComparisonCache::Stamp takeStamp;
};

// On a worker thread. The files are stamped before they are read: if the take
// is saved again meanwhile, the stamp no longer matches and the cache misses.
Outcome analyse(const QString &reference, const QString &take)
{
    Outcome outcome;
    outcome.referenceStamp = ComparisonCache::Stamp::Of(reference);
    outcome.takeStamp = ComparisonCache::Stamp::Of(take);
    outcome.comparison = TakeAnalysis::CompareFiles(reference, take);
    return outcome;
}

} // namespace

CompareController::CompareController(CompareView &view, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_callouts(std::move(callouts))
{
    m_secondHalf.setSingleShot(true);
    connect(&m_secondHalf, &QTimer::timeout, this, [this] {
        if (m_callouts.PlayStretch)
            m_callouts.PlayStretch(m_pendingPath, m_pendingFrom, m_pendingTo);
    });
    connect(&m_view, &CompareView::SegmentActivated, this, &CompareController::PlaySegment);
}

void CompareController::CompareAfterSave(const QString &reference, const QString &take)
{
    m_secondHalf.stop();
    m_reference = reference;
    m_take = take;
    const quint64 generation = ++m_generation;
    if (const std::optional<TakeComparison> cached = m_cache.Find(reference, take)) {
        m_waiting = false;
        show(*cached);
        return;
    }
    m_hasResult = false;
    m_waiting = true;
    m_view.SetBusy();
    updateVisibility();

    auto *watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcher<Outcome>::finished, this, [this, watcher, generation, reference, take] {
        watcher->deleteLater();
        const Outcome outcome = watcher->result();
        // Kept even when a newer take is already on its way: it is right for the
        // files it stamped, and the learner may go back to them.
        if (outcome.takeStamp.size >= 0)
            m_cache.Store(reference, outcome.referenceStamp, take, outcome.takeStamp, outcome.comparison);
        if (generation != m_generation)
            return;
        m_waiting = false;
        show(outcome.comparison);
    });
    watcher->setFuture(QtConcurrent::run(&analyse, reference, take));
}

void CompareController::Clear()
{
    ++m_generation;
    m_secondHalf.stop();
    m_hasResult = false;
    m_waiting = false;
    m_current = {};
    m_reference.clear();
    m_take.clear();
    m_view.Clear();
    updateVisibility();
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
    m_hasResult = true;
    m_view.SetComparison(comparison);
    updateVisibility();
    if (m_callouts.Announce)
        m_callouts.Announce(comparison.Sentence());
    emit Compared();
}

QString CompareController::Sentence() const
{
    return m_hasResult ? m_current.Sentence() : QString();
}

void CompareController::PlaySegment(int index)
{
    if (!m_hasResult || index < 0 || index >= int(m_current.segments.size()) || !m_callouts.PlayStretch)
        return;
    const TakeComparison::HeldSegment &segment = m_current.segments[size_t(index)];
    const double from = std::max(0.0, segment.referenceStart - ContextSeconds);
    const double to = segment.referenceEnd + ContextSeconds;
    m_pendingPath = m_take;
    m_pendingFrom = std::max(0.0, segment.takeStart - ContextSeconds);
    m_pendingTo = segment.takeEnd + ContextSeconds;
    m_callouts.PlayStretch(m_reference, from, to);
    // The take follows once the reciter's stretch has been heard.
    m_secondHalf.start(int((to - from) * 1000) + GapMs);
}
