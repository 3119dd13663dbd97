// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorder.h"

#include "base/fonctions.h"
#include "practice/examplefiles.h"
#include "practice/soundmeter.h"
#include "practice/takehistory.h"
#include "sound/api/mediaplayer.h"
#include "sound/api/waveaudio.h"
#include "sound/core/takejournal.h"
#include "widgets/activelink.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>

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
    case Event::TakeTooShort: return QStringLiteral("لم يُحفظ التسجيل لأنه أقصر من نصف ثانية، وما سُجّل قبله باقٍ كما هو");
    case Event::CaptureStalled: return StalledMessage;
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
    return ShortPath(m_RecDir) + ExampleFiles::BaseName(p, m_curExample) + QStringLiteral(".wav");
}

void Recorder::ShowButtons(bool play, bool stop, bool pause, bool rec)
{
    m_c.Aplay->setVisible(play);
    m_c.Astop->setVisible(stop);
    m_c.Apause->setVisible(pause);
    m_c.Arec->setVisible(rec);
}

qint64 Recorder::TakeLimit(qint32 exampleSeconds)
{
    if (exampleSeconds < 1 || exampleSeconds > LongestExampleSeconds)
        return DefaultLimitMs;
    return qint64(exampleSeconds) * 2000;
}

void Recorder::Record()
{
    // A screen reader can press a hidden button: a second Record would throw away
    // the take in progress, and one during playback would leave the player open.
    if (m_c.TimerMeter->isActive() && m_mode == Mode::Rec)
        return;
    // A take that could not be saved holds the device until it is: it is tried
    // again now, and while it still cannot be saved no new take replaces it.
    if (!SavePendingTake()) {
        KeepPendingTake();
        return;
    }
    if (m_voiceOpen)
        Stop();
    // Nothing of the program may sound into the take: Listen would moreover
    // take over the state word and leave the recording without an end.
    if (m_listening)
        EndListening();
    m_MP.Stop();
    if (m_callouts.SilenceOthers)
        m_callouts.SilenceOthers();

    ShowButtons(true, true, false, false);
    m_mode = Mode::Rec;
    m_meter.StartMeter();
    m_inputLevel = -1;
    m_c.TimerMeter->start();
    m_stopAt = TakeLimit(m_exampleDuration);
    m_takePath = RecordingPath();
    m_journalPath.clear();
    m_lastPosition = -1;

    const QStringList commands { QStringLiteral("open new type waveaudio alias capture"),
        QStringLiteral("set capture bitspersample 8"), QStringLiteral("set capture samplespersec 11025"),
        QStringLiteral("set capture channels 1"), QStringLiteral("Set capture time format ms"), QString(),
        QStringLiteral("record capture") };
    for (const QString &command : commands) {
        if (command.isEmpty()) {
            OpenJournal();
            // A device that keeps no comment still records: the take then
            // counts as made at full speed.
            m_audio.Send(QStringLiteral("set capture comment ") + ExampleFiles::SpeedComment(m_speedPercent));
            continue;
        }
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

// The journal goes beside the take; where the takes' folder cannot be written,
// to the fallback folder; where neither can, the take is kept in memory only,
// as recording matters more than the journal.
void Recorder::OpenJournal()
{
    const QString take = QFileInfo(m_takePath).fileName();
    for (const QString &folder : JournalFolders(m_takePath)) {
        // A journal another window records into, or one that holds a take
        // not yet recovered, is refused: the next name is tried. A name that
        // was free and still refused means the folder takes none.
        for (int writer = 1; writer <= TakeJournal::Writers; ++writer) {
            const QString journal = QDir(folder).filePath(TakeJournal::JournalName(take, writer));
            const bool taken = QFileInfo::exists(journal);
            if (!WaveAudio::IsError(m_audio.Send(QStringLiteral("set capture journal ") + journal))) {
                m_journalPath = journal;
                return;
            }
            if (!taken)
                break;
        }
    }
}

QStringList Recorder::JournalFolders(const QString &takePath) const
{
    QStringList folders;
    for (const QString &folder : { QFileInfo(takePath).absolutePath(), m_journalFallback }) {
        if (!folder.isEmpty() && QDir().mkpath(folder))
            folders << folder;
    }
    return folders;
}

bool Recorder::SavePendingTake()
{
    if (m_pendingTake.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(m_pendingTake).absolutePath());
    // The take there goes to the history first; when it cannot (the history
    // is a file, or cannot be written), the new take waits rather than
    // overwrite it.
    const bool previous = QFileInfo(m_pendingTake).isFile();
    const QString kept = TakeHistory::KeepPrevious(m_pendingTake);
    if (previous && kept.isEmpty())
        return false;
    if (WaveAudio::IsError(m_audio.Send(QStringLiteral("save capture ") + m_pendingTake))) {
        TakeHistory::Withdraw(kept);
        return false;
    }
    TakeHistory::Trim(m_pendingTake);
    m_audio.Send(QStringLiteral("close capture"));
    const QString saved = std::exchange(m_pendingTake, QString());
    m_journalPath.clear();
    emit StateChanged(Event::RecordingSaved);
    emit TakeSaved(saved, kept);
    return true;
}

bool Recorder::JournalWhole()
{
    return !m_journalPath.isEmpty()
        && WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status capture journal"))) >= m_takeLength;
}

void Recorder::KeepPendingTake()
{
    // A journal that a full disk left short holds only part of the take: the
    // whole of it is then in memory alone, and the learner is told so.
    const bool journalWhole = JournalWhole();
    const bool besideTake
        = journalWhole && QFileInfo(m_journalPath).absolutePath() == QFileInfo(m_pendingTake).absolutePath();
    const QString kept = !journalWhole ? KeptInMemoryMessage : besideTake ? KeptInRecMessage : KeptInFallbackMessage;
    emit StateChanged(Event::SaveFailed);
    if (m_callouts.Announce)
        m_callouts.Announce(SaveFailedMessage + QStringLiteral("، ") + kept
            + (journalWhole ? QStringLiteral(" (") + m_journalPath + QStringLiteral(")") : QString())
            + QStringLiteral("، ") + RetryLaterMessage);
    if (m_callouts.ShowMessage)
        m_callouts.ShowMessage(SaveFailedMessage + QStringLiteral("\r\n") + kept);
}

void Recorder::AbandonRecording()
{
    m_audio.Send(QStringLiteral("close capture"));
    m_meter.StopMeter();
    m_meter.ShowLevel(0);
    m_c.TimerMeter->stop();
    m_c.Aplay->setEnabled(true);
    ShowButtons(true, false, false, true);
    m_mode = Mode::None;
}

void Recorder::Stop()
{
    // The state word outlives the take. A second Stop (a screen reader can press
    // the hidden button) would save the closed capture again and report the
    // take it has just saved as lost.
    const bool running = m_c.TimerMeter->isActive();
    if (m_mode == Mode::Rec && running) {
        // The timer stops first: stopping the device can spin the event loop,
        // and a tick then would stop (and save) the take a second time.
        m_c.TimerMeter->stop();
        const qint64 length = WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status capture position")));
        m_audio.Send(QStringLiteral("stop capture"));
        m_meter.StopMeter();
        m_c.Aplay->setEnabled(true);
        m_meter.ShowLevel(0);
        ShowButtons(true, false, false, true);
        if (length < ShortestTakeMs) {
            // Record and Stop share one place on the strip: a double press
            // must not put a moment of silence in place of the last take.
            m_audio.Send(QStringLiteral("close capture"));
            m_journalPath.clear();
            emit StateChanged(Event::TakeTooShort);
            return;
        }
        m_pendingTake = m_takePath;
        m_takeLength = length;
        if (!SavePendingTake())
            KeepPendingTake();
    }
    if (m_voiceOpen) {
        m_audio.Send(QStringLiteral("stop voice1"));
        m_audio.Send(QStringLiteral("close voice1"));
        m_c.TimerMeter->stop();
        m_voiceOpen = false;
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
    if (m_listening)
        EndListening();
    if (m_callouts.SilenceOthers)
        m_callouts.SilenceOthers();
    m_audio.Send(QStringLiteral("open ") + path + QStringLiteral(" type waveaudio alias voice1"));
    m_audio.Send(QStringLiteral("Set voice1 time format ms"));
    m_stopAt = WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status voice1 length")));
    if (m_mode == Mode::Pause)
        m_audio.Send(QStringLiteral("Resume voice1"));
    else
        m_audio.Send(QStringLiteral("play voice1"));
    m_mode = Mode::Play;
    m_voiceOpen = true;
    m_lastPosition = -1;
    m_c.TimerMeter->start();
    ShowButtons(false, true, true, false);
    emit StateChanged(Event::PlaybackStarted);
}

void Recorder::Pause()
{
    if (m_mode != Mode::Play || !m_c.TimerMeter->isActive())
        return;
    ShowButtons(true, true, false, false);
    m_mode = Mode::Pause;
    m_audio.Send(QStringLiteral("pause voice1"));
    // Nothing moves while paused; Play starts the timer again.
    m_c.TimerMeter->stop();
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
    if (m_listening) {
        m_MP.Stop();
        m_MP.SetCurrentPosition(0);
        m_listening = false;
        m_meter.StopMeter();
        m_c.TimerMeter->stop();
        emit StateChanged(Event::ListeningEnded);
    } else {
        // A take in progress is finished first, so that the state word cannot be
        // taken over and leave the recording or playback running unowned.
        StopAndSave();
        if (m_callouts.SilenceOthers)
            m_callouts.SilenceOthers();
        m_MP.Play();
        m_listening = true;
        m_lastPosition = -1;
        m_mode = Mode::Listen;
        m_meter.StartMeter();
        m_c.TimerMeter->start();
        emit StateChanged(Event::ListeningStarted);
    }
    SwapListenPictures();
}

void Recorder::RestartListening()
{
    if (!m_listening)
        return;
    m_MP.SetCurrentPosition(0);
    m_MP.Play();
    m_lastPosition = -1;
    m_still.start();
}

void Recorder::EndListening()
{
    m_MP.Stop();
    m_MP.SetCurrentPosition(0);
    m_listening = false;
    m_meter.StopMeter();
    m_c.TimerMeter->stop();
    m_meter.ShowLevel(0);
    SwapListenPictures();
    emit StateChanged(Event::ListeningEnded);
}

bool Recorder::Advancing(qint64 position)
{
    if (position != m_lastPosition) {
        m_lastPosition = position;
        m_still.start();
        return true;
    }
    // A sound server takes a moment to open a stream: the first sound is
    // waited for longer than a pause in it.
    return m_still.elapsed() < (position <= 0 ? FirstSoundMs : StallMs);
}

void Recorder::TimerMeterTick()
{
    if (m_mode == Mode::Listen && m_listening) {
        // A file the player cannot play never reaches its end: it ends here.
        const double position = m_MP.CurrentPosition();
        if (!(m_MP.Duration() > position) || !Advancing(qint64(position * 1000)))
            EndListening();
    }
    if (m_mode == Mode::Rec && m_c.TimerMeter->isActive()) {
        const int peak = m_meter.ReadPeak();
        m_inputLevel = m_meter.HasReading() ? peak : -1;
        m_meter.ShowLevel(qint16(std::max(0, peak)));
        const qint64 position = WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status capture position")));
        if (position >= m_stopAt) {
            Stop();
        } else if (!Advancing(position)) {
            // A microphone that went away: the take ends with what came.
            Stop();
            emit StateChanged(Event::CaptureStalled);
            if (m_callouts.ShowMessage)
                m_callouts.ShowMessage(StalledMessage);
        }
    }
    if (m_mode == Mode::Play && m_c.TimerMeter->isActive()) {
        const qint64 position = WaveAudio::ReplyNumber(m_audio.Send(QStringLiteral("status voice1 position")));
        if (position >= m_stopAt || !Advancing(position))
            Stop();
    }
}

void Recorder::StopAndSave()
{
    const bool running = m_c.TimerMeter->isActive();
    if ((running && m_mode == Mode::Rec) || m_voiceOpen)
        Stop();
    if (m_listening)
        EndListening();
}

bool Recorder::SecureTake()
{
    StopAndSave();
    if (SavePendingTake() || JournalWhole())
        return true;
    // Kept in memory alone (no journal could be written, or a full disk cut
    // it short): written whole where the next start looks for journals, the
    // takes' folder first, then the fallback; never a temporary folder, which
    // a restart empties.
    const QString take = QFileInfo(m_pendingTake).fileName();
    for (const QString &folder : JournalFolders(m_pendingTake)) {
        for (int writer = 1; writer <= TakeJournal::Writers; ++writer) {
            const QString journal = QDir(folder).filePath(TakeJournal::JournalName(take, writer));
            if (journal == m_journalPath || QFileInfo::exists(journal))
                continue;
            if (WaveAudio::IsError(m_audio.Send(QStringLiteral("keep capture ") + journal)))
                break;
            m_journalPath = journal;
            if (m_callouts.Announce)
                m_callouts.Announce(KeptForNextStartMessage + QStringLiteral(" (") + journal + QStringLiteral(")"));
            return true;
        }
    }
    return false;
}

bool Recorder::Shutdown()
{
    const bool secured = SecureTake();
    m_MP.Stop();
    return secured;
}
