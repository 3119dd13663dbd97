// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>

class ActiveLink;

// "Repeat after me": hands-free rounds on the current example. Each round
// plays the reciter, sounds a soft cue and gives the learner the turn,
// records until the learner has spoken and then been silent (or the take's
// limit), plays the take back and speaks its comparison; then the next round.
// The round drives the recorder and the player only through its callouts, so
// that it can be followed step by step on fakes.
class RepeatRound final : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Reciter, Cue, Turn, Playback, Comparison, Pause };
    Q_ENUM(Phase)

    struct Callouts
    {
        // The example from its start, at the chosen speed.
        std::function<void()> PlayReciter;
        std::function<bool()> ReciterPlaying;
        std::function<void()> PlayCue;
        // False when recording could not start (the recorder has said why).
        std::function<bool()> StartTake;
        // The microphone's level on the recorder's last tick, 0..128; below 0
        // while the input has given nothing yet.
        std::function<int()> Level;
        // False once the recorder ended the take itself (its limit, a stall).
        std::function<bool()> TakeRunning;
        // Saves the take as Stop does.
        std::function<void()> StopTake;
        // False when there is no take to play (one too short is not saved).
        std::function<bool()> PlayTake;
        std::function<bool()> TakePlaying;
        // The comparison of the saved take is still being made.
        std::function<bool()> ComparisonPending;
        // Speaks the comparison's sentence, or says there is none.
        std::function<void()> SpeakComparison;
        // Why the turn's take was not saved (too short, the disk full), in
        // the recorder's words; empty when it does not know.
        std::function<QString()> NotSavedReason;
        // Ends whatever of the round still sounds or records, saving a take
        // in progress as Stop saves it.
        std::function<void()> Halt;
        // A sentence for the status line.
        std::function<void(const QString &text)> Announce;
        // Milliseconds; a steady clock unless a test gives its own.
        std::function<qint64()> Now;
    };

    static constexpr std::array<int, 4> RoundChoices { 1, 3, 5, 0 }; // 0: until stopped
    static constexpr int TickMs = 50;
    static constexpr int CueMs = 300;
    // The room's own noise is heard this long at the start of each turn,
    // from the input's first real reading on: a device that has just opened
    // gives nothing for a moment, and that is not the room's silence.
    static constexpr int NoiseMs = 300;
    // Voice held this long counts as the learner having spoken.
    static constexpr int SpokenMs = 150;
    static constexpr int SilenceMs = 1200;
    // Whatever the room, a level below this is never taken for a voice.
    static constexpr int LeastVoice = 6;
    static constexpr int ComparisonWaitMs = 4000;
    static constexpr int PauseMs = 700;
    static inline const QString Name = QStringLiteral("كرر بعدي");
    static inline const QString YourTurn = QStringLiteral("دورك: اقرأ المثال الآن");
    static inline const QString NotHeard = QStringLiteral("لم يُسمع صوتك، فتوقف التكرار");
    static inline const QString RoundsDone = QStringLiteral("انتهى التكرار");
    static inline const QString NotSaved = QStringLiteral("لم يُحفظ تسجيلك في هذه الجولة، فلا مقارنة");

    // control: the button that starts and ends the rounds (may be null in tests).
    RepeatRound(ActiveLink *control, Callouts callouts, QObject *parent = nullptr);

    // The level above which the learner is taken to speak, for a room whose
    // noise reached these levels at the start of the turn.
    static int VoiceThreshold(const std::vector<int> &noise);
    // "٣ مرات", "مرة واحدة", "حتى الإيقاف".
    static QString Spoken(int rounds);

    void Start();
    // Ends the rounds at once, the take in progress saved; nothing if idle.
    void End();
    void Toggle() { Running() ? End() : Start(); }
    // A modal message is in the learner's way: the round waits, its clock
    // stopped, until Resume; nested holds need as many resumes.
    void Hold();
    void Resume();
    bool Held() const { return m_holds > 0; }
    bool Running() const { return m_phase != Phase::Idle; }
    Phase CurrentPhase() const { return m_phase; }
    int Round() const { return m_round; }
    int Rounds() const { return RoundChoices[size_t(m_choice)]; }
    void StepRounds(int step);
    // The recorder saved the take of this turn (one too short is not saved).
    void NoteTakeSaved();
    // The soft cue of the learner's turn, a WAV in memory.
    static QByteArray CueWave();
    // Runs one step of the machine; the timer calls it, tests call it.
    void Tick();

signals:
    void PhaseChanged(RepeatRound::Phase phase);

private:
    void enter(Phase phase);
    void beginRound();
    void finishRound();
    void playBack();
    void show();
    qint64 now() const;

    ActiveLink *m_control = nullptr;
    Callouts m_callouts;
    QTimer m_timer;
    QElapsedTimer m_clock;
    Phase m_phase = Phase::Idle;
    int m_choice = 1;
    int m_round = 0;
    qint64 m_phaseStart = 0;
    std::vector<int> m_noise;
    qint64 m_noiseSince = -1;
    int m_holds = 0;
    qint64 m_heldAt = 0;
    int m_threshold = LeastVoice;
    qint64 m_voicedSince = -1;
    qint64 m_lastVoice = -1;
    bool m_spoken = false;
    bool m_saved = false;
};
