// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pageposition.h"
#include "practice/practicecontrols.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class MediaPlayer;
class SoundMeter;
class WaveAudio;

// The recorder strip: the learner records the current example, plays the take
// back, pauses and resumes it, and listens to the reciter again to compare.
// One timer (TimerMeter) follows the positions, stops at the limit and drives the
// meter; it runs only while there is something to follow.
class Recorder final : public QObject
{
    Q_OBJECT
public:
    struct Callouts
    {
        // Where the open page sits; recordings are named from it.
        std::function<PagePosition()> Position;
        // Sets the window's message and shows the message dialog.
        std::function<void(const QString &text)> ShowMessage;
        // Silences whatever else of the program may sound (the comparison's
        // stretches): nothing but the learner may reach the microphone.
        std::function<void()> SilenceOthers;
        // A sentence for the status line alone (a screen reader hears it).
        std::function<void(const QString &text)> Announce;
    };

    static inline const QString NotRecordedMessage
        = QStringLiteral("لم تقم بالتدرب على هذا المثال سابقا أو لعلك حذفت الملف الصوتي المسجَّل")
        + QStringLiteral("\r\n") + QStringLiteral("قم بتسجيل تلاوتك أولا");
    static inline const QString SaveFailedMessage
        = QStringLiteral("تعذر حفظ التسجيل، تأكد أن مجلد التسجيلات موجود وقابل للكتابة");
    static inline const QString RecordFailedMessage
        = QStringLiteral("تعذر بدء التسجيل، تأكد أن جهاز التسجيل موصول وغير مستخدم من طرف برنامج آخر");
    static inline const QString StopRecordingTip = QStringLiteral("إيقاف التسجيل");
    static inline const QString StalledMessage
        = QStringLiteral("توقف جهاز التسجيل عن إرسال الصوت، فانتهى التسجيل عند ما وصل منه");
    // Followed by where the take is kept.
    // Where a take that could not be saved is kept: said on the message card
    // (which has room for a few words more) and, with its path and when it
    // will be saved, on the status line.
    static inline const QString KeptInRecMessage = QStringLiteral("تسجيلك باقٍ في مجلده");
    static inline const QString KeptInFallbackMessage = QStringLiteral("تسجيلك باقٍ في مجلد آخر");
    static inline const QString KeptInMemoryMessage = QStringLiteral("تسجيلك باقٍ في الذاكرة");
    static inline const QString KeptForNextStartMessage
        = QStringLiteral("لم يُحفظ تسجيلك في مكانه، فكُتب كاملًا ليُستعاد عند تشغيل البرنامج مرة أخرى");
    static inline const QString RetryLaterMessage
        = QStringLiteral("وسيُحفظ في مكانه عند التسجيل التالي أو عند تشغيل البرنامج مرة أخرى");

    // A take shorter than this (a double press) is not saved: it would replace a good one.
    static constexpr qint64 ShortestTakeMs = 500;
    // Examples without a usable length (none, unreadable, under half a second,
    // over an hour) let the learner record this long.
    static constexpr qint64 DefaultLimitMs = 20000;
    static constexpr qint32 LongestExampleSeconds = 3600;
    // A device that stops moving for this long is taken as stuck.
    static constexpr qint64 StallMs = 2000;
    static constexpr qint64 FirstSoundMs = 5000;

    // What a listener who cannot see the strip's buttons change is told.
    enum class Event {
        RecordingStarted,
        RecordingSaved,
        SaveFailed,
        RecordFailed,
        TakeTooShort,
        CaptureStalled,
        PlaybackStarted,
        PlaybackPaused,
        PlaybackEnded,
        ListeningStarted,
        ListeningEnded,
    };
    Q_ENUM(Event)
    // The words a screen reader speaks for an event; failures are urgent.
    static QString Announcement(Event event);
    static bool IsFailure(Event event)
    {
        return event == Event::SaveFailed || event == Event::RecordFailed || event == Event::CaptureStalled;
    }

    // RecDir ends with a separator, as every folder path of the course does.
    Recorder(const PracticeControls &controls, WaveAudio &audio, MediaPlayer &MP, SoundMeter &meter,
        const QString &RecDir, Callouts callouts, QObject *parent = nullptr);

    // Click handlers (a screen reader's press action does the same).
    void Record();
    void Stop();
    void Play();
    void Pause();
    void Listen();
    void TimerMeterTick();

    // Ends a running recording (saving it, as Stop does) or playback, and the
    // reciter's example if it plays because of Listen. Called before another
    // example is chosen, when the panel closes and when the window closes.
    void StopAndSave();
    // Ends any take and makes sure it outlives the program: saved, whole in its
    // journal, or written whole from memory where the next start recovers it.
    // False when nothing could take it: closing now loses it.
    bool SecureTake();
    bool Shutdown();

    // Where journals go when the takes' folder cannot be written.
    void SetJournalFallback(const QString &folder) { m_journalFallback = folder; }
    // A take whose save failed and that waits, whole, for another try.
    bool HasPendingTake() const { return !m_pendingTake.isEmpty(); }
    // The limit of a take for an example of that many whole seconds.
    static qint64 TakeLimit(qint32 exampleSeconds);

    // The current example's recording: c-l-n.wav, or c-l-k-n.wav on an entry sub-page.
    QString RecordingPath() const;

    // What the strip is doing; the state word outlives what it names (a
    // take stopped stays Rec until something else starts).
    enum class Mode { None, Rec, Play, Pause, Listen };
    Q_ENUM(Mode)
    Mode PracticeMode() const { return m_mode; }
    bool Recording() const { return m_mode == Mode::Rec && m_c.TimerMeter->isActive(); }
    bool PlayingTake() const { return m_voiceOpen; }
    bool Listening() const { return m_listening; }
    // The microphone's level on the last tick of a take, 0..128; -1 until the
    // input has given its first reading of the take (a device that has just
    // opened gives nothing for a moment, and that silence is not the room's).
    int InputLevel() const { return m_inputLevel; }
    // Where the running take or playback ends, in ms.
    qint64 StopAt() const { return m_stopAt; }

    // The example on show, set when one is chosen: the takes are named after
    // it, and its length in whole seconds (as heard) sets the take's limit.
    qint16 CurExample() const { return m_curExample; }
    void SetCurExample(qint16 n) { m_curExample = n; }
    qint32 ExampleDuration() const { return m_exampleDuration; }
    void SetExampleDuration(qint32 seconds) { m_exampleDuration = seconds; }
    // The reciter's speed the learner hears: each take keeps it in its file.
    void SetSpeedPercent(int percent) { m_speedPercent = percent; }
    // The reciter listened to starts again from its beginning, as the player
    // now plays it (after a speed change); nothing when not listening.
    void RestartListening();

signals:
    void StateChanged(Recorder::Event event);
    // A take was saved under this path (the page may have changed since it
    // began); the take it replaced went to the history as keptPrevious
    // (empty when there was none).
    void TakeSaved(const QString &path, const QString &keptPrevious);

private:
    void ShowButtons(bool play, bool stop, bool pause, bool rec);
    void SwapListenPictures();
    void EndListening();
    void AbandonRecording();
    bool SavePendingTake();
    void KeepPendingTake();
    void OpenJournal();
    // Where a take's journals may go, in order: beside the take, then the
    // fallback; only the folders that exist or could be made.
    QStringList JournalFolders(const QString &takePath) const;
    // Whether the journal holds the whole pending take.
    bool JournalWhole();
    // Whether a position moved since the last tick; false once it has stood
    // still for StallMs.
    bool Advancing(qint64 position);

    PracticeControls m_c;
    Mode m_mode = Mode::None;
    bool m_listening = false;
    qint64 m_stopAt = 0;
    qint16 m_curExample = 0;
    qint32 m_exampleDuration = 0;
    int m_speedPercent = 100;
    WaveAudio &m_audio;
    MediaPlayer &m_MP;
    SoundMeter &m_meter;
    QString m_RecDir;
    Callouts m_callouts;
    // The take is saved where it was started, even if the page changes meanwhile.
    QString m_takePath;
    QString m_journalFallback;
    QString m_journalPath;
    QString m_pendingTake;
    qint64 m_takeLength = 0;
    bool m_voiceOpen = false;
    int m_inputLevel = 0;
    qint64 m_lastPosition = -1;
    QElapsedTimer m_still;
};
