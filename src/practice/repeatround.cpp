// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/repeatround.h"

#include "base/numbers.h"
#include "sound/core/tempostretch.h"
#include "widgets/activelink.h"

#include <cmath>

#include <algorithm>

RepeatRound::RepeatRound(ActiveLink *control, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_control(control)
    , m_callouts(std::move(callouts))
{
    m_clock.start();
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &RepeatRound::Tick);
    if (m_control) {
        m_control->setAccessibleFlag(ActiveLink::Adjustable, true);
        m_control->setAccessibleFlag(ActiveLink::Checkable, true);
        connect(m_control, &ActiveLink::Click, this, &RepeatRound::Toggle);
        connect(m_control, &ActiveLink::Adjust, this, &RepeatRound::StepRounds);
    }
    show();
}

qint64 RepeatRound::now() const
{
    return m_callouts.Now ? m_callouts.Now() : m_clock.elapsed();
}

int RepeatRound::VoiceThreshold(const std::vector<int> &noise)
{
    if (noise.empty())
        return LeastVoice * 2;
    // The quietest moment, not the loudest nor the median: a learner who
    // starts as soon as the cue ends (100 ms into the turn is enough) must not
    // raise the room's noise to the level of their own voice, or no silence
    // would ever end the take. The meter gives the loudest sample of each 50 ms
    // tick, so even the room's quietest tick holds its noise at its peaks.
    const int floor = *std::min_element(noise.begin(), noise.end());
    return std::max(LeastVoice, floor * 3 / 2 + 4);
}

QString RepeatRound::Spoken(int rounds)
{
    if (rounds <= 0)
        return QStringLiteral("حتى الإيقاف");
    if (rounds == 1)
        return QStringLiteral("مرة واحدة");
    return ArabicIndic(rounds) + QStringLiteral(" مرات");
}

void RepeatRound::show()
{
    if (!m_control)
        return;
    const QString value = Spoken(Rounds());
    // At rest it says what a press starts; in a round, which round it is and
    // that a press stops it.
    if (!Running())
        m_control->setCaption(Name + QLatin1Char(' ') + (Rounds() > 0 ? ArabicIndic(Rounds()) : QStringLiteral("∞")));
    else
        m_control->setCaption(QStringLiteral("أوقف ") + ArabicIndic(m_round)
            + (Rounds() > 0 ? QStringLiteral(" من ") + ArabicIndic(Rounds()) : QString()));
    m_control->setAccessibleValue(value);
    m_control->setAccessibleFlag(ActiveLink::Checked, Running());
    m_control->setAccessibleDescription(value + QStringLiteral("؛ السهمان يغيران عدد المرات"));
    m_control->setToolTip(Name + QStringLiteral(": ") + value);
}

void RepeatRound::NoteTakeSaved()
{
    if (m_phase == Phase::Turn || m_phase == Phase::Playback)
        m_saved = true;
}

QByteArray RepeatRound::CueWave()
{
    // Two soft notes a fifth apart, faded in and out: heard, never startling.
    constexpr int rate = 22050;
    std::vector<float> samples;
    for (const double frequency : { 660.0, 990.0 }) {
        const int length = rate * 90 / 1000;
        for (int n = 0; n < length; ++n) {
            const double fade = std::sin(M_PI * n / length);
            samples.push_back(float(0.18 * fade * std::sin(2 * M_PI * frequency * n / rate)));
        }
    }
    return TempoStretch::Wave(samples, rate);
}

void RepeatRound::StepRounds(int step)
{
    const int choice = std::clamp(m_choice + (step > 0 ? 1 : -1), 0, int(RoundChoices.size()) - 1);
    if (choice == m_choice)
        return;
    m_choice = choice;
    show();
    if (m_callouts.Announce)
        m_callouts.Announce(Name + QStringLiteral(": ") + Spoken(Rounds()));
}

void RepeatRound::Start()
{
    if (Running())
        return;
    m_round = 0;
    beginRound();
    if (Running())
        m_timer.start();
    show();
}

void RepeatRound::Hold()
{
    if (!Running() || m_holds++ > 0)
        return;
    m_heldAt = now();
    m_timer.stop();
}

void RepeatRound::Resume()
{
    if (m_holds == 0 || --m_holds > 0)
        return;
    if (!Running())
        return;
    // The time held is no part of any phase: the learner was reading a message.
    const qint64 held = now() - m_heldAt;
    m_phaseStart += held;
    for (qint64 *t : { &m_voicedSince, &m_lastVoice, &m_noiseSince }) {
        if (*t >= 0)
            *t += held;
    }
    m_timer.start();
}

void RepeatRound::End()
{
    if (!Running())
        return;
    m_timer.stop();
    m_holds = 0;
    // Idle first: what Halt stops may report back, and must find no round.
    m_phase = Phase::Idle;
    if (m_callouts.Halt)
        m_callouts.Halt();
    show();
    emit PhaseChanged(m_phase);
}

void RepeatRound::enter(Phase phase)
{
    m_phase = phase;
    m_phaseStart = now();
    emit PhaseChanged(phase);
}

void RepeatRound::beginRound()
{
    ++m_round;
    show();
    enter(Phase::Reciter);
    if (m_callouts.PlayReciter)
        m_callouts.PlayReciter();
}

void RepeatRound::finishRound()
{
    if (Rounds() > 0 && m_round >= Rounds()) {
        End();
        if (m_callouts.Announce)
            m_callouts.Announce(RoundsDone);
        return;
    }
    enter(Phase::Pause);
}

// Only this turn's take is played: when it was not saved, the take before it
// is no answer to this round.
void RepeatRound::playBack()
{
    if (!m_saved) {
        // Nothing of this turn to play or judge; the comparison on show is
        // of an older take and is not spoken as if it were this one's.
        const QString why = m_callouts.NotSavedReason ? m_callouts.NotSavedReason() : QString();
        if (m_callouts.Announce)
            m_callouts.Announce(NotSaved + (why.isEmpty() ? QString() : QStringLiteral("، ") + why));
        finishRound();
        return;
    }
    enter(Phase::Playback);
    if (!m_callouts.PlayTake || !m_callouts.PlayTake())
        enter(Phase::Comparison);
}

void RepeatRound::Tick()
{
    const qint64 t = now();
    const qint64 inPhase = t - m_phaseStart;
    switch (m_phase) {
    case Phase::Idle: m_timer.stop(); return;
    case Phase::Reciter:
        // Listening ends by itself at the example's end, and also when its
        // file cannot be played: either way the learner's turn comes.
        if (m_callouts.ReciterPlaying && m_callouts.ReciterPlaying())
            return;
        enter(Phase::Cue);
        if (m_callouts.PlayCue)
            m_callouts.PlayCue();
        return;
    case Phase::Cue:
        if (inPhase < CueMs)
            return;
        m_noise.clear();
        m_noiseSince = -1;
        m_voicedSince = -1;
        m_lastVoice = -1;
        m_spoken = false;
        m_saved = false;
        m_threshold = LeastVoice;
        if (!m_callouts.StartTake || !m_callouts.StartTake()) {
            End();
            return;
        }
        enter(Phase::Turn);
        // Said once the recorder is listening, after its own news of it, so
        // that the status line holds the turn for as long as it lasts.
        if (m_callouts.Announce)
            m_callouts.Announce(YourTurn);
        return;
    case Phase::Turn: {
        if (m_callouts.TakeRunning && !m_callouts.TakeRunning()) {
            // The recorder ended it (its limit): the take is saved already.
            if (!m_spoken) {
                End();
                if (m_callouts.Announce)
                    m_callouts.Announce(NotHeard);
                return;
            }
            playBack();
            return;
        }
        // The room is heard from the input's first real reading, however
        // late it comes (a loaded machine opens the input slowly): until
        // then nothing is known of the room, and nothing counts as a voice.
        const int level = m_callouts.Level ? m_callouts.Level() : 0;
        if (level < 0)
            return;
        if (m_noiseSince < 0)
            m_noiseSince = t;
        if (t - m_noiseSince < NoiseMs) {
            m_noise.push_back(level);
            return;
        }
        if (!m_noise.empty()) {
            m_threshold = VoiceThreshold(m_noise);
            m_noise.clear();
        }
        if (level > m_threshold) {
            if (m_voicedSince < 0)
                m_voicedSince = t;
            m_lastVoice = t;
            if (t - m_voicedSince >= SpokenMs)
                m_spoken = true;
            return;
        }
        m_voicedSince = -1;
        if (m_spoken && t - m_lastVoice >= SilenceMs) {
            if (m_callouts.StopTake)
                m_callouts.StopTake();
            playBack();
        }
        return;
    }
    case Phase::Playback:
        if (m_callouts.TakePlaying && m_callouts.TakePlaying())
            return;
        enter(Phase::Comparison);
        return;
    case Phase::Comparison:
        if (m_callouts.ComparisonPending && m_callouts.ComparisonPending() && inPhase < ComparisonWaitMs)
            return;
        if (m_callouts.SpeakComparison)
            m_callouts.SpeakComparison();
        finishRound();
        return;
    case Phase::Pause:
        if (inPhase >= PauseMs)
            beginRound();
        return;
    }
}
