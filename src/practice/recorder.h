#pragma once

#include "content/pageposition.h"
#include "practice/practicecontrols.h"

#include <QObject>
#include <QString>
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
    };

    static inline const QString NotRecordedMessage
        = QStringLiteral("لم تقم بالتدرب على هذا المثال سابقا أو لعلك حذفت الملف الصوتي المسجَّل")
        + QStringLiteral("\r\n") + QStringLiteral("قم بتسجيل تلاوتك أولا");
    static inline const QString SaveFailedMessage
        = QStringLiteral("تعذر حفظ التسجيل، تأكد أن مجلد التسجيلات موجود وقابل للكتابة");
    static inline const QString RecordFailedMessage
        = QStringLiteral("تعذر بدء التسجيل، تأكد أن جهاز التسجيل موصول وغير مستخدم من طرف برنامج آخر");
    static inline const QString StopRecordingTip = QStringLiteral("إيقاف التسجيل");

    // What a listener who cannot see the strip's buttons change is told.
    enum class Event {
        RecordingStarted,
        RecordingSaved,
        SaveFailed,
        RecordFailed,
        PlaybackStarted,
        PlaybackPaused,
        PlaybackEnded,
        ListeningStarted,
        ListeningEnded,
    };
    Q_ENUM(Event)
    // The words a screen reader speaks for an event; failures are urgent.
    static QString Announcement(Event event);
    static bool IsFailure(Event event) { return event == Event::SaveFailed || event == Event::RecordFailed; }

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
    void Shutdown();

    // The current example's recording: c-l-n.wav, or c-l-k-n.wav on an entry sub-page.
    QString RecordingPath() const;

    // Set by the examples panel when an example is chosen.
    qint16 CurExample = 0;
    qint32 ExampleDuration = 0;

    QString PracticeMode;
    bool Listening = false;
    qint32 StopAt = 0;

signals:
    void StateChanged(Recorder::Event event);

private:
    void ShowButtons(bool play, bool stop, bool pause, bool rec);
    void SwapListenPictures();
    void EndListening();
    void AbandonRecording();

    PracticeControls m_c;
    WaveAudio &m_audio;
    MediaPlayer &m_MP;
    SoundMeter &m_meter;
    QString m_RecDir;
    Callouts m_callouts;
    // The take is saved where it was started, even if the page changes meanwhile.
    QString m_takePath;
};
