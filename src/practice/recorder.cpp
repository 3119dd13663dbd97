#include "recorder.h"

#include "components/activelink.h"
#include "components/fonctions.h"
#include "components/mediaplayer.h"
#include "components/waveaudio.h"
#include "practice/soundmeter.h"

#include <QDir>
#include <QTimer>

namespace {

const QString Rec = QStringLiteral("Rec");
const QString PlayWord = QStringLiteral("Play");
const QString PauseWord = QStringLiteral("Pause");
const QString ListenWord = QStringLiteral("Listen");

} // namespace

Recorder::Recorder(const PracticeControls &controls, WaveAudio &audio, MediaPlayer &MP, SoundMeter &meter,
    const QString &RecDir, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_audio(audio)
    , m_MP(MP)
    , m_meter(meter)
    , m_RecDir(RecDir)
    , m_callouts(std::move(callouts))
{
    connect(m_c.Arec, &ActiveLink::Click, this, &Recorder::Record);
    connect(m_c.Astop, &ActiveLink::Click, this, &Recorder::Stop);
    connect(m_c.Aplay, &ActiveLink::Click, this, &Recorder::Play);
    connect(m_c.Apause, &ActiveLink::Click, this, &Recorder::Pause);
    connect(m_c.Alisten, &ActiveLink::Click, this, &Recorder::Listen);
    connect(m_c.TimerMeter, &QTimer::timeout, this, &Recorder::TimerMeterTick);
}

QString Recorder::Announcement(Event event)
{
    switch (event) {
    case Event::RecordingStarted: return QStringLiteral("بدأ التسجيل");
    case Event::RecordingSaved: return QStringLiteral("توقف التسجيل وحُفظ");
    case Event::SaveFailed: return SaveFailedMessage;
    case Event::RecordFailed: return QStringLiteral("تعذر بدء التسجيل");
    case Event::PlaybackStarted: return QStringLiteral("بدأ تشغيل تسجيلك");
    case Event::PlaybackPaused: return QStringLiteral("توقف التشغيل مؤقتا");
    case Event::PlaybackEnded: return QStringLiteral("انتهى تشغيل تسجيلك");
    case Event::ListeningStarted: return QStringLiteral("بدأ الاستماع إلى المثال");
    case Event::ListeningEnded: return QStringLiteral("انتهى الاستماع إلى المثال");
    }
    return {};
}

QString Recorder::RecordingPath() const
{
    const PagePosition p = m_callouts.Position ? m_callouts.Position() : PagePosition {};
    QString name = QString::number(p.chapter) + QLatin1Char('-') + QString::number(p.lesson) + QLatin1Char('-');
    if (p.indexMode)
        name += QString::number(p.entry) + QLatin1Char('-');
    name += QString::number(CurExample) + QStringLiteral(".wav");
    return ShortPath(m_RecDir) + name;
}

void Recorder::ShowButtons(bool play, bool stop, bool pause, bool rec)
{
    m_c.Aplay->setVisible(play);
    m_c.Astop->setVisible(stop);
    m_c.Apause->setVisible(pause);
    m_c.Arec->setVisible(rec);
}

void Recorder::Record()
{
    // A screen reader can press a hidden button: a second Record would throw away
    // the take in progress, and one during playback would leave the player open.
    if (m_c.TimerMeter->isActive() && PracticeMode == Rec)
        return;
    if (m_c.TimerMeter->isActive() && (PracticeMode == PlayWord || PracticeMode == PauseWord))
        Stop();
    // The reciter's voice would go into the take; and Listen would otherwise take
    // over the state word and leave the recording without an end.
    if (Listening)
        EndListening();

    ShowButtons(true, true, false, false);
    PracticeMode = Rec;
    m_meter.StartMeter();
    m_c.TimerMeter->start();
    StopAt = ExampleDuration * 2000;
    m_takePath = RecordingPath();

    const QStringList commands { QStringLiteral("open new type waveaudio alias capture"),
        QStringLiteral("set capture bitspersample 8"), QStringLiteral("set capture samplespersec 11025"),
        QStringLiteral("set capture channels 1"), QStringLiteral("Set capture time format ms"),
        QStringLiteral("record capture") };
    for (const QString &command : commands) {
        if (WaveAudio::IsError(m_audio.Send(command))) {
            // Without a device the strip would show a recording that records nothing.
            AbandonRecording();
            emit StateChanged(Event::RecordFailed);
            if (m_callouts.ShowMessage)
                m_callouts.ShowMessage(RecordFailedMessage);
            return;
        }
    }
    m_c.Aplay->setEnabled(false);
    m_c.Astop->setToolTip(StopRecordingTip);
    emit StateChanged(Event::RecordingStarted);
}

void Recorder::AbandonRecording()
{
    m_audio.Send(QStringLiteral("close capture"));
    m_meter.StopMeter();
    m_meter.ShowLevel(0);
    m_c.TimerMeter->stop();
    m_c.Aplay->setEnabled(true);
    ShowButtons(true, false, false, true);
    PracticeMode.clear();
}

void Recorder::Stop()
{
    // The state word outlives the take. A second Stop (a screen reader can press
    // the hidden button) would save the closed capture again and report the
    // take it has just saved as lost.
    const bool running = m_c.TimerMeter->isActive();
    if (PracticeMode == Rec && running) {
        QDir().mkpath(m_RecDir);
        const QString reply = m_audio.Send(QStringLiteral("save capture ") + m_takePath);
        m_audio.Send(QStringLiteral("close capture"));
        m_meter.StopMeter();
        m_c.TimerMeter->stop();
        m_c.Aplay->setEnabled(true);
        m_meter.ShowLevel(0);
        emit StateChanged(WaveAudio::IsError(reply) ? Event::SaveFailed : Event::RecordingSaved);
        if (WaveAudio::IsError(reply) && m_callouts.ShowMessage)
            m_callouts.ShowMessage(SaveFailedMessage);
    }
    if (PracticeMode == PlayWord || PracticeMode == PauseWord) {
        m_audio.Send(QStringLiteral("stop voice1"));
        m_audio.Send(QStringLiteral("close voice1"));
        m_c.TimerMeter->stop();
        if (running || PracticeMode == PauseWord)
            emit StateChanged(Event::PlaybackEnded);
    }
    ShowButtons(true, false, false, true);
}

void Recorder::Play()
{
    const QString path = RecordingPath();
    if (!FileExists(path)) {
        if (m_callouts.ShowMessage)
            m_callouts.ShowMessage(NotRecordedMessage);
        return;
    }
    if (Listening)
        EndListening();
    m_audio.Send(QStringLiteral("open ") + path + QStringLiteral(" type waveaudio alias voice1"));
    m_audio.Send(QStringLiteral("Set voice1 time format ms"));
    StopAt = qint32(WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status voice1 length"))));
    if (PracticeMode == PauseWord)
        m_audio.Send(QStringLiteral("Resume voice1"));
    else
        m_audio.Send(QStringLiteral("play voice1"));
    PracticeMode = PlayWord;
    m_c.TimerMeter->start();
    ShowButtons(false, true, true, false);
    emit StateChanged(Event::PlaybackStarted);
}

void Recorder::Pause()
{
    if (PracticeMode != PlayWord || !m_c.TimerMeter->isActive())
        return;
    ShowButtons(true, true, false, false);
    PracticeMode = PauseWord;
    m_audio.Send(QStringLiteral("pause voice1"));
    emit StateChanged(Event::PlaybackPaused);
}

void Recorder::SwapListenPictures()
{
    const QPixmap rest = m_c.Alisten->picture();
    m_c.Alisten->setPicture(m_c.Alisten->activepicture());
    m_c.Alisten->setActivepicture(rest);
}

void Recorder::Listen()
{
    if (Listening) {
        m_MP.Stop();
        m_MP.SetCurrentPosition(0);
        Listening = false;
        m_meter.StopMeter();
        m_c.TimerMeter->stop();
        emit StateChanged(Event::ListeningEnded);
    } else {
        // A take in progress is finished first, so that the state word cannot be
        // taken over and leave the recording or playback running unowned.
        StopAndSave();
        m_MP.Play();
        Listening = true;
        PracticeMode = ListenWord;
        m_meter.StartMeter();
        m_c.TimerMeter->start();
        emit StateChanged(Event::ListeningStarted);
    }
    SwapListenPictures();
}

void Recorder::EndListening()
{
    m_MP.Stop();
    m_MP.SetCurrentPosition(0);
    Listening = false;
    m_meter.StopMeter();
    m_c.TimerMeter->stop();
    m_meter.ShowLevel(0);
    SwapListenPictures();
    emit StateChanged(Event::ListeningEnded);
}

void Recorder::TimerMeterTick()
{
    if (PracticeMode == ListenWord && !(m_MP.Duration() > m_MP.CurrentPosition()))
        EndListening();
    if (PracticeMode == Rec) {
        m_meter.ShowLevel(qint16(m_meter.ReadPeak()));
        const qint64 position = WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status capture position")));
        if (position >= StopAt)
            Stop();
    }
    if (PracticeMode == PlayWord) {
        const qint64 position = WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status voice1 position")));
        if (position >= StopAt)
            Stop();
    }
}

void Recorder::StopAndSave()
{
    const bool running = m_c.TimerMeter->isActive();
    if (running && (PracticeMode == Rec || PracticeMode == PlayWord || PracticeMode == PauseWord))
        Stop();
    if (Listening)
        EndListening();
}

void Recorder::Shutdown()
{
    StopAndSave();
    m_MP.Stop();
}
