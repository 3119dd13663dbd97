// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/practicesession.h"

#include "base/numbers.h"
#include "base/settings.h"
#include "compare/comparecontroller.h"
#include "compare/compareview.h"
#include "practice/authorstimes.h"
#include "practice/examplespanel.h"
#include "practice/practiceprogress.h"
#include "practice/reciterspeed.h"
#include "practice/repeatround.h"
#include "practice/soundmeter.h"
#include "practice/takehistory.h"
#include "practice/takeslist.h"
#include "sound/api/mediaplayer.h"
#include "sound/api/soundmodule.h"
#include "sound/api/stretchplayer.h"
#include "sound/core/takejournal.h"
#include "widgets/activelink.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <algorithm>

QString PracticeSession::RecoverTakes(const QString &recDir, const QString &journalFallback)
{
    const TakeJournal::Recovery recovery = TakeJournal::Recover(recDir, journalFallback,
        { [](const QString &take) {
             const QString kept = TakeHistory::KeepPrevious(take);
             if (!kept.isEmpty())
                 TakeHistory::Trim(take);
             return kept;
         },
            &TakeHistory::Withdraw });
    const auto seconds = [](qint64 ms) { return ArabicSeconds(double(ms) / 1000.0); };
    QStringList told;
    bool earlierKept = false;
    for (const TakeJournal::Recovered &r : recovery.details) {
        QString one = ExampleFiles::Described(r.take) + QStringLiteral(" (") + seconds(r.ms) + QStringLiteral(" ثانية");
        if (r.wholeMs > r.ms)
            one += PartialMessage + seconds(r.wholeMs) + QStringLiteral(" ثانية");
        told << one + QLatin1Char(')');
        earlierKept = earlierKept || !r.keptPrevious.isEmpty();
    }
    QString message;
    if (!told.isEmpty())
        message = RecoveredMessage + told.join(QStringLiteral("، ")) + (earlierKept ? EarlierKeptMessage : QString());
    if (!recovery.kept.isEmpty()) {
        QStringList waiting;
        for (const QString &journal : recovery.kept)
            waiting << ExampleFiles::Described(TakeJournal::TakeOfJournal(QFileInfo(journal).fileName()));
        message += (message.isEmpty() ? QString() : QStringLiteral("\r\n")) + NotRecoveredMessage
            + waiting.join(QStringLiteral("، "));
    }
    return message;
}

PracticeSession::PracticeSession(const PracticeControls &controls, Devices devices, const Settings &settings,
    PracticeProgress &progress, Folders folders, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_devices(devices)
    , m_settings(settings)
    , m_progress(progress)
    , m_folders(std::move(folders))
    , m_files(m_folders.files)
    , m_callouts(std::move(callouts))
{
    createRecorder();
    createExamples();
    createComparison();
    m_speed = new ReciterSpeed(m_c.Aspeed, this);
    connect(m_speed, &ReciterSpeed::Changed, this, &PracticeSession::speedChanged);
    createRound();
    createTakesList();
}

PracticeSession::~PracticeSession()
{
    // The panel and the recorder use the meter; they go first.
    delete m_examples;
    delete m_recorder;
}

void PracticeSession::createRecorder()
{
    m_meter
        = std::make_unique<SoundMeter>(*m_devices.input, m_c.vm, [this](const QString &text) { showMessageBox(text); });
    Recorder::Callouts c;
    c.Position = [this] { return m_callouts.Position ? m_callouts.Position() : PagePosition {}; };
    c.ShowMessage = [this](const QString &text) { showMessage(text); };
    c.Announce = [this](const QString &text) { announce(text, true); };
    c.SilenceOthers = [this] {
        if (m_comparison)
            m_comparison->StopStretch();
        if (m_stretch)
            m_stretch->Stop();
    };
    m_recorder
        = new Recorder(m_c, *m_devices.audio, *m_devices.reciter, *m_meter, m_files.folders().rec, std::move(c), this);
    m_recorder->SetJournalFallback(m_folders.journalFallback);
    // The strip's buttons only swap pictures; a listener hears the news instead.
    connect(m_recorder, &Recorder::StateChanged, this, [this](Recorder::Event event) {
        announce(Recorder::Announcement(event), Recorder::IsFailure(event));
        if (event == Recorder::Event::RecordingStarted || event == Recorder::Event::RecordingSaved)
            m_notSaved.clear();
        else if (event == Recorder::Event::TakeTooShort || event == Recorder::Event::SaveFailed)
            m_notSaved = Recorder::Announcement(event);
    });
    connect(m_recorder, &Recorder::TakeSaved, this, &PracticeSession::takeSaved);
}

void PracticeSession::createExamples()
{
    ExamplesPanel::Callouts c;
    c.SlidePanelBar = [this](const QString &direction, qint32 distance, qint16 step) {
        if (m_callouts.SlidePanelBar)
            m_callouts.SlidePanelBar(direction, distance, step);
    };
    c.PanelClosedTop = [this] { return m_callouts.PanelClosedTop ? m_callouts.PanelClosedTop() : 0; };
    c.RecomputeScrollTrack = [this] {
        if (m_callouts.RecomputeScrollTrack)
            m_callouts.RecomputeScrollTrack();
    };
    c.ShowSplitter = [this](bool shown) {
        if (m_callouts.ShowSplitter)
            m_callouts.ShowSplitter(shown);
    };
    c.Position = [this] { return m_callouts.Position ? m_callouts.Position() : PagePosition {}; };
    c.ShowMessage = [this](const QString &text) { showMessage(text); };
    c.ShowMessageBox = [this](const QString &text) { showMessageBox(text); };
    c.ExampleLeft = [this] {
        if (m_comparison)
            m_comparison->Clear();
    };
    c.TakesOf = [this](const QString &baseName) { return m_progress.Takes(baseName); };
    const ExampleFiles::Folders &f = m_files.folders();
    m_examples = new ExamplesPanel(m_c, m_settings, *m_devices.reciter, *m_recorder,
        ExamplesPanel::Folders { m_folders.images, f.examples, f.text, f.images }, std::move(c), this);
}

// The take against the reciter's, drawn in the room the panel leaves below
// the example's text, after every saved take.
void PracticeSession::createComparison()
{
    m_view = new CompareView(m_c.Samples);
    m_view->hide();
    m_stretch = m_devices.stretch ? m_devices.stretch
                                  : m_devices.sound->MakeStretchPlayer(this, m_devices.volume, m_devices.slowed);
    CompareController::Callouts c;
    c.PlayStretch
        = [this](const QString &path, double from, double to, double speed) { m_stretch->Play(path, from, to, speed); };
    c.Announce = [this](const QString &sentence) { m_c.Samples->setAccessibleDescription(sentence); };
    c.WordTimes = &AuthorsTimes;
    m_comparison = new CompareController(*m_view, std::move(c), *m_devices.sound, this);
    connect(m_comparison, &CompareController::Compared, this, [this] {
        if (std::exchange(m_speakComparison, false))
            announce(m_comparison->Sentence());
    });
}

// "Repeat after me" drives the recorder, the player and the comparison that
// are already there.
void PracticeSession::createRound()
{
    RepeatRound::Callouts c;
    c.PlayReciter = [this] {
        if (m_c.Alisten->isEnabled() && !m_recorder->Listening())
            m_recorder->Listen();
    };
    c.ReciterPlaying = [this] { return m_recorder->Listening(); };
    c.PlayCue = [this] {
        static const QByteArray cue = RepeatRound::CueWave();
        m_stretch->PlayWave(cue);
    };
    c.StartTake = [this] {
        m_recorder->Record();
        return m_recorder->Recording();
    };
    c.Level = [this] { return m_recorder->InputLevel(); };
    c.TakeRunning = [this] { return m_recorder->Recording(); };
    c.StopTake = [this] { m_recorder->Stop(); };
    c.PlayTake = [this] {
        m_recorder->Play();
        return m_recorder->PlayingTake();
    };
    c.TakePlaying = [this] { return m_recorder->PlayingTake(); };
    c.ComparisonPending = [this] { return m_comparison->IsBusy(); };
    c.SpeakComparison = [this] {
        const QString sentence = m_comparison->Sentence();
        if (!sentence.isEmpty())
            announce(sentence);
    };
    c.NotSavedReason = [this] { return m_notSaved; };
    c.Halt = [this] {
        m_recorder->StopAndSave();
        m_comparison->StopStretch();
        m_stretch->Stop();
    };
    c.Announce = [this](const QString &text) { announce(text); };
    m_round = new RepeatRound(m_c.Arepeat, std::move(c), this);

    // A press of anything that plays, records or changes the example ends the
    // rounds first; then the press does what it always does.
    QList<ActiveLink *> ending { m_c.Arec, m_c.Astop, m_c.Aplay, m_c.Apause, m_c.Alisten, m_c.ImSamplesUp,
        m_c.ImSamplesDown, m_c.Atakes };
    for (int i = 1; i < int(m_c.SampleN.size()); ++i)
        ending << m_c.SampleN[i];
    for (ActiveLink *link : ending)
        connect(link, &ActiveLink::Pressed, m_round, &RepeatRound::End);
}

void PracticeSession::createTakesList()
{
    SoundModule *sound = m_devices.sound;
    m_takesList = new TakesList([sound](const QString &take) { return sound->ReadSoundInfo(take).duration; },
        [this](const QString &take) { return int(std::lround(SpeedOfTake(take) * 100)); }, m_c.Samples);
    connect(m_c.Atakes, &ActiveLink::Click, this,
        [this] { m_takesList->isVisible() ? CloseTakesList() : OpenTakesList(); });
    connect(m_takesList, &TakesList::GivenUp, this, &PracticeSession::CloseTakesList);
    connect(m_takesList, &TakesList::Chosen, this, &PracticeSession::takeChosen);
}

double PracticeSession::SpeedOfTake(const QString &take) const
{
    return ExampleFiles::SpeedOfComment(m_devices.sound->ReadSoundInfo(take).comment) / 100.0;
}

void PracticeSession::judge(const QString &take)
{
    const QString reference = m_files.SoundOfTake(take);
    const double speed = SpeedOfTake(take);
    emit Judging(reference, take, speed);
    m_comparison->CompareAfterSave(reference, take, speed);
}

// The comparison is of the file saved, and only while its example is on
// show: a take saved because the learner went to another page or example is
// kept, but not spoken of there. Whatever page it was saved from, the marks
// follow the folder.
void PracticeSession::takeSaved(const QString &take)
{
    if (take == m_recorder->RecordingPath()) {
        judge(take);
        Layout();
        m_round->NoteTakeSaved();
    }
    m_progress.Read();
    m_examples->ShowProgress();
    if (m_callouts.ProgressChanged)
        m_callouts.ProgressChanged();
    // A take saved while the list is open (its limit reached) is in it at once.
    if (m_takesList->isVisible())
        fillTakesList();
}

// A take chosen is heard whole and judged as a new one would be; its
// sentence is said once the comparison has it.
void PracticeSession::takeChosen(const QString &path)
{
    CloseTakesList();
    // A recording still running is saved first, over the newest take: the
    // newest as it was when chosen is then the one the history has just kept.
    QString chosen = path;
    const QMetaObject::Connection moved
        = connect(m_recorder, &Recorder::TakeSaved, this, [&chosen](const QString &saved, const QString &kept) {
              if (saved == chosen && !kept.isEmpty())
                  chosen = kept;
          });
    m_round->End();
    m_recorder->StopAndSave();
    disconnect(moved);
    m_devices.reciter->Stop();
    const double seconds = m_devices.sound->ReadSoundInfo(chosen).duration;
    m_stretch->Play(chosen, 0, seconds + 0.2, 1.0);
    m_speakComparison = true;
    judge(chosen);
    if (!m_comparison->IsBusy() && std::exchange(m_speakComparison, false))
        announce(m_comparison->Sentence());
}

void PracticeSession::speedChanged(double speed)
{
    m_examples->SpeedChanged(speed);
    m_recorder->SetSpeedPercent(m_speed->Percent());
    // What the learner was listening to goes on at the new speed, from its
    // start, rather than stopping (the player drops what it had made).
    m_recorder->RestartListening();
    announce(ReciterSpeed::Name + QStringLiteral(": ") + ReciterSpeed::Spoken(m_speed->Percent()));
}

void PracticeSession::fillTakesList()
{
    const QString newest = m_recorder->RecordingPath();
    m_takesList->Fill(newest, [this](const QString &take) {
        const QString sound = m_files.SoundOfTake(take);
        TakesList::Known known;
        known.percentDifference = m_comparison->KnownDifference(sound, take, SpeedOfTake(take));
        if (const auto words = m_comparison->KnownWords(sound, take, SpeedOfTake(take)); words && words->judged) {
            known.wordsOff = words->WordsOff();
            known.rulesOff = words->RulesOff();
        }
        return known;
    });
}

void PracticeSession::OpenTakesList()
{
    fillTakesList();
    if (m_takesList->Count() == 0)
        return;
    // Over the example and the strip below it, which it gives back on closing.
    const QWidget *shown = m_c.AyaSample->isVisible() ? static_cast<QWidget *>(m_c.AyaSample) : m_c.AyaText;
    const int top = std::max(0, shown->y());
    m_takesList->setGeometry(3, top, m_c.Samples->width() - 6, m_c.Samples->height() - top - 3);
    m_takesList->show();
    m_takesList->raise();
    m_takesList->setFocus(Qt::OtherFocusReason);
}

void PracticeSession::CloseTakesList()
{
    if (!m_takesList->isVisible())
        return;
    const bool hadFocus = m_takesList->hasFocus();
    m_takesList->hide();
    if (hadFocus && m_c.Atakes->isVisible())
        m_c.Atakes->setFocus(Qt::OtherFocusReason);
}

void PracticeSession::PageOpened(int n)
{
    m_round->End();
    m_comparison->Clear();
    CloseTakesList();
    m_examples->SetupExampleButtons(n);
}

void PracticeSession::ClosePanel()
{
    if (m_examples->PanelOpen)
        m_examples->CloseExamplesPanel();
    m_comparison->Clear();
}

bool PracticeSession::PanelOpen() const
{
    return m_examples->PanelOpen;
}

void PracticeSession::Layout()
{
    m_examples->LayoutExamplesPanel();
    // The room below the example's text or picture, beside the recorder strip.
    const QWidget *shown = m_c.AyaSample->isVisible() ? static_cast<QWidget *>(m_c.AyaSample) : m_c.AyaText;
    const int left = m_c.SoundTools->x() + m_c.SoundTools->width() + 5;
    const int top = shown->y() + shown->height() + 4;
    m_comparison->FitInto(QRect(left, top, m_c.Samples->width() - left - 3, m_c.Samples->height() - top - 3));
}

void PracticeSession::ApplySkin(const QPixmap &bar, const QRect &barGeometry)
{
    // The thirteen example buttons spread from the right, the reciter's line,
    // the recorder strip with its meter, and the example's text and picture.
    LoadPracticeSkin(m_c, m_folders.images, m_settings, barGeometry);
    m_examples->FitTitleHeight();
    // The comparison draws the reciter in the page's ink and the learner in the meter's colour.
    const QColor ink = m_c.AyaText->palette().color(QPalette::WindowText);
    const QImage meter = m_c.vm[1]->pixmap().toImage();
    m_view->SetColors(
        ink, meter.isNull() ? QColor(0x3C, 0x7D, 0x62) : meter.pixelColor(meter.width() / 2, meter.height() / 2));
    // The takes' list in the panel's paper and the page's ink, its choice in
    // the examples bar's colour.
    QPalette palette = m_c.Samples->palette();
    const QColor paper = palette.color(QPalette::Window);
    const QImage barImage = bar.toImage();
    palette.setColor(QPalette::Base, paper);
    palette.setColor(QPalette::Text, ink);
    palette.setColor(QPalette::Highlight,
        barImage.isNull() ? QColor(0x1F, 0x4A, 0x3A)
                          : barImage.pixelColor(barImage.width() / 2, barImage.height() / 2));
    palette.setColor(QPalette::HighlightedText, paper);
    m_takesList->setPalette(palette);
    m_takesList->setFont(m_c.SampleTitle->font());
}

bool PracticeSession::SecureTakes()
{
    m_round->End();
    return m_recorder->SecureTake();
}

void PracticeSession::Shutdown()
{
    // A take still running is stopped and saved before anything goes away; the
    // comparison starts nothing more, so that nothing is left to wait for.
    m_round->End();
    m_comparison->Shutdown();
    m_stretch->Stop();
    m_recorder->Shutdown();
}

void PracticeSession::showMessage(const QString &text)
{
    if (m_round)
        m_round->Hold();
    if (m_callouts.ShowMessage)
        m_callouts.ShowMessage(text);
    if (m_round)
        m_round->Resume();
}

void PracticeSession::showMessageBox(const QString &text)
{
    if (m_round)
        m_round->Hold();
    if (m_callouts.ShowMessageBox)
        m_callouts.ShowMessageBox(text);
    if (m_round)
        m_round->Resume();
}

void PracticeSession::announce(const QString &text, bool urgent)
{
    if (m_callouts.Announce)
        m_callouts.Announce(text, urgent);
}
