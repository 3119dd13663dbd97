// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"

#include "app/config.h"
#include "audio/mediaplayer.h"
#include "audio/silentsound.h"
#include "audio/softwarevolume.h"
#include "audio/soundlibrary.h"
#include "audio/soundmodule.h"
#include "audio/stretchplayer.h"
#include "audio/takejournal.h"
#include "compare/arabicdigits.h"
#include "compare/comparecontroller.h"
#include "compare/compareview.h"
#include "components/activelink.h"
#include "components/colors.h"
#include "components/documentview.h"
#include "components/fonctions.h"
#include "components/statusline.h"
#include "components/textbrowserview.h"
#include "content/documentscrollbar.h"
#include "content/lessonpages.h"
#include "layout/panelayout.h"
#include "mixer/latemixerdevice.h"
#include "mixer/mvolume.h"
#include "mixer/volumecontrols.h"
#include "practice/examplespanel.h"
#include "practice/practiceprogress.h"
#include "practice/reciterspeed.h"
#include "practice/recorder.h"
#include "practice/repeatround.h"
#include "practice/soundmeter.h"
#include "practice/takehistory.h"
#include "practice/takeslist.h"
#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "skin/skinnedmessages.h"
#include "skin/windowshapes.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <algorithm>

using namespace FormDesign;

MainWindow::MainWindow(const QString &appFolder, Platform platform, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , DataFolder(QDir::cleanPath(appFolder))
    , ConfigFolder(QDir::cleanPath(appFolder))
    , AppFolder(QDir::cleanPath(appFolder))
{
    // The skin's pictures decode on the other core while the controls are made.
    PrefetchSkinPictures(AppFolder + QStringLiteral("/Images/"));
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("رتّل"));
    setFixedSize(DesignWidth, DesignHeight);
    setLayoutDirection(Qt::RightToLeft);

    programVolume = new SoftwareVolume(this);
    // The sound card's mixer comes with the sound library (EnsureSound) and
    // opens on its own thread once the first frame is drawn.
    if (platform.mixer) {
        mixer = platform.mixer;
    } else {
        m_lateMixer = new LateMixerDevice([this] { EnsureSound(); }, this);
        mixer = m_lateMixer;
    }
    // The players and the recorder's devices come from the sound library,
    // which loads once the first page is up (EnsureSound).
    MP = platform.MP;
    RTF = platform.RTF ? platform.RTF : new TextBrowserView(this);
    waveAudio = platform.waveAudio;
    waveInput = platform.waveInput;
    m_givenSound = platform.sound;
    m_soundFolders = platform.soundFolders;
    if (platform.messages) {
        m_messages = platform.messages;
    } else {
        m_ownMessages = std::make_unique<SkinnedMessages>(this);
        m_messages = m_ownMessages.get();
    }
    CreateControls();
    CreatePageParts();

    LessonMenu::Callouts menuCallouts;
    menuCallouts.OpenLesson = [this](int c, int l) { return pages->OpenLesson(c, l); };
    menuCallouts.CloseExamplesPanel = [this] {
        if (examples && examples->PanelOpen)
            examples->CloseExamplesPanel();
        if (comparison)
            comparison->Clear();
    };
    menuCallouts.ShowMessage = [this](const QString &text) {
        message = text;
        ShowMessage();
    };
    menuCallouts.LessonProgress = [this](int c, int l) {
        const auto share = progress ? progress->LessonShare(catalogue, c, l) : PracticeProgress::Share {};
        return std::pair(share.practised, share.examples);
    };
    menu = new LessonMenu(menuControls, settings, catalogue, RTFP, std::move(menuCallouts), this);

    // Mixer: "No mixer found!" goes through the window's message sink.
    m_mvolume = std::make_unique<MVolume>(mixer, m_messages);
    volume = new VolumeControls(mixerControls, *m_mvolume, mixer, this);

    // Hovered chapter titles return to rest when the pointer crosses the background.
    setMouseTracking(true);
}

MainWindow::~MainWindow()
{
    // The panel and the recorder use the meter; they go first.
    delete examples;
    delete recorder;
}

// What the first page shows, and what the menu and the page need to lay
// themselves out. The examples panel's controls, the recorder and the
// comparison, hidden at start, are made by EnsurePracticeParts.
void MainWindow::CreateControls()
{
    RTFP = new QWidget(this);
    RTFP->setObjectName(QStringLiteral("RTFP"));
    RTF->Widget()->setParent(RTFP);
    RTF->Widget()->show();

    ImExit = new ActiveLink(this);
    ImExit->setObjectName(QStringLiteral("ImExit"));
    ImExit->setAccessibleName(QStringLiteral("خروج"));
    ImExit->setAlwayshandcursor(true);
    connect(ImExit, &ActiveLink::Click, this, &QWidget::close);

    Immin = new ActiveLink(this);
    Immin->setObjectName(QStringLiteral("Immin"));
    Immin->setAccessibleName(QStringLiteral("تصغير"));
    Immin->setAlwayshandcursor(true);
    connect(Immin, &ActiveLink::Click, this, &QWidget::showMinimized);

    menuControls = CreateMenuControls(this);

    paneControls = CreatePaneControls(this);
    pageControls = CreatePageControls(this);
    scrollBarControls = CreateScrollBarControls(this);
    mixerControls = CreateMixerControls(this);
}

// --- lesson pages, document scroll bar, pane layout --------------------------
void MainWindow::CreatePageParts()
{
    scrollBar = new DocumentScrollBar(scrollBarControls, RTF, RTFP, settings, this);

    PaneLayout::Callouts paneCallouts;
    paneCallouts.LayoutExamplesPanel = [this] { LayoutExamplesPanel(); };
    // Until the panel's controls exist nothing opens it; EnsurePracticeParts
    // clamps the remembered split again with their extent.
    paneCallouts.OpenPanelExtent = [this] {
        const PracticeControls &p = practiceControls;
        return p.SampleTitle ? p.SampleTitle->height() + p.SoundTools->height() : 0;
    };
    paneLayout = new PaneLayout(
        paneControls, RTFP, RTF, pageControls.BabFrame, *scrollBar, settings, std::move(paneCallouts), this);

    LessonPages::Callouts pageCallouts;
    pageCallouts.LayoutDocumentPane = [this] { paneLayout->LayoutDocumentPane(); };
    pageCallouts.ShowMessage = [this](const QString &text) {
        message = text;
        ShowMessage();
    };
    pageCallouts.SetupExampleButtons = [this](int n) {
        // Every road to another page comes here: nothing said of the last
        // page's take stays on show, and no round goes on on another page.
        if (repeatRound)
            repeatRound->End();
        if (comparison)
            comparison->Clear();
        if (n > 0)
            EnsurePracticeParts();
        if (examples)
            examples->SetupExampleButtons(n);
    };
    pageCallouts.LayoutExamplesPanel = [this] { LayoutExamplesPanel(); };
    pages = new LessonPages(
        pageControls, RTF, RTFP, paneControls.FrameBar, *scrollBar, catalogue, std::move(pageCallouts), this);
    RTF->SetLinkHandler([this](const QString &path) { return FollowPageLink(path); });
}

// The spoken news and the learner's progress are needed from the start: a
// take recovered from its journal is told at once, and the menu shows what
// has been practised.
void MainWindow::CreateStatusLine()
{
    m_statusLine = new StatusLine(this);
    m_statusLine->move(0, 0);
    m_statusLine->show();
    progress = std::make_unique<PracticeProgress>(RecDir);
}

// The examples panel and all that works in it are hidden at start: they are
// made when a page with examples first opens, or once the first page is on
// screen, whichever comes first, so that the first page waits for none of it.
// They need the course's folders and its skin, so not before Load.
void MainWindow::EnsurePracticeParts()
{
    if (examples || !m_loaded)
        return;
    // The panel's parts play and record: a lesson chosen before the sound
    // library came loads it now (a few milliseconds) rather than losing the click.
    EnsureSound();
    const QList<QWidget *> before = findChildren<QWidget *>();
    practiceControls = CreatePracticeControls(paneControls.FrameBar, paneControls.Samples);
    CreatePracticeParts();
    ApplyPracticeSkin();
    paneLayout->ClampSplitterTop();
    // A child made after its parent is on screen stays hidden until it is shown
    // itself: each one the parts did not hide is shown, as the window's first
    // show would have shown it.
    for (QWidget *w : findChildren<QWidget *>()) {
        if (!w->isWindow() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide) && !before.contains(w))
            w->show();
    }
}

// The sound library (Qt Multimedia, libsndfile, TagLib and some two dozen
// libraries below them) is loaded here, not at start: the first page needs
// none of it. Once the first frame is drawn, or sooner when something must
// sound (a lesson chosen first, the welcome chime). Where it cannot be loaded
// the program goes on silent, and says so once.
void MainWindow::EnsureSound()
{
    if (sound)
        return;
    if (m_givenSound) {
        sound = m_givenSound;
    } else {
        m_soundLibrary = std::make_unique<SoundLibrary>();
        const QStringList folders
            = m_soundFolders.isEmpty() ? SoundLibrary::Folders(QCoreApplication::applicationDirPath()) : m_soundFolders;
        sound = m_soundLibrary->Load(folders);
        if (!sound) {
            qWarning(
                "rattil: no sound: the sound library could not be loaded: %s", qPrintable(m_soundLibrary->Error()));
            m_silentSound = std::make_unique<SilentSound>();
            sound = m_silentSound.get();
            if (m_statusLine)
                m_statusLine->Announce(SilentSound::Message, true);
            if (m_mvolume)
                m_mvolume->NoSoundTold();
        }
    }
    if (m_lateMixer)
        m_lateMixer->SetDevice(sound->MakeMixerDevice(m_lateMixer, programVolume));
    slowedSounds = sound->MakeSlowedSounds(this);
    if (!MP)
        MP = sound->MakeMediaPlayer(this, programVolume, slowedSounds);
    if (!waveAudio)
        waveAudio = sound->MakeWaveAudio(this, programVolume);
    if (!waveInput)
        waveInput = sound->MakeWaveInput(this);
}

// The recorder names its takes from the open page, and the panel finds the
// example's files in the course's folders: both are made once those are known.
void MainWindow::CreatePracticeParts()
{
    meter = std::make_unique<SoundMeter>(
        *waveInput, practiceControls.vm, [this](const QString &text) { m_messages->ShowMessageBox(text); });
    Recorder::Callouts recorderCallouts;
    recorderCallouts.Position = [this] { return pages->Position(); };
    recorderCallouts.ShowMessage = [this](const QString &text) {
        message = text;
        ShowMessage();
    };
    recorderCallouts.Announce = [this](const QString &text) {
        if (m_statusLine)
            m_statusLine->Announce(text, true);
    };
    recorderCallouts.SilenceOthers = [this] {
        if (comparison)
            comparison->StopStretch();
        if (stretchPlayer)
            stretchPlayer->Stop();
    };
    recorder = new Recorder(practiceControls, *waveAudio, *MP, *meter, RecDir, std::move(recorderCallouts), this);
    recorder->SetJournalFallback(JournalFolder);
    // The strip's buttons only swap pictures; a listener hears the news instead.
    connect(recorder, &Recorder::StateChanged, m_statusLine, [this](Recorder::Event event) {
        m_statusLine->Announce(Recorder::Announcement(event), Recorder::IsFailure(event));
    });

    ExamplesPanel::Callouts panelCallouts;
    panelCallouts.SlidePanelBar = [this](const QString &direction, qint32 distance, qint16 step) {
        paneLayout->SlidePanelBar(direction, distance, step);
    };
    panelCallouts.PanelClosedTop = [this] { return int(paneLayout->PanelClosedTop()); };
    panelCallouts.RecomputeScrollTrack = [this] { paneLayout->RecomputeScrollTrack(); };
    panelCallouts.ShowSplitter = [this](bool shown) { paneLayout->ShowSplitter(shown); };
    panelCallouts.Position = [this] { return pages->Position(); };
    panelCallouts.ShowMessage = [this](const QString &text) {
        message = text;
        ShowMessage();
    };
    panelCallouts.ShowMessageBox = [this](const QString &text) { m_messages->ShowMessageBox(text); };
    panelCallouts.ExampleLeft = [this] {
        if (comparison)
            comparison->Clear();
    };
    panelCallouts.TakesOf = [this](const QString &baseName) { return progress->Takes(baseName); };
    examples = new ExamplesPanel(practiceControls, settings, *MP, *recorder,
        ExamplesPanel::Folders { ImagesPath, ExamplesDir, TextDir, DataImagesDir }, std::move(panelCallouts), this);

    // The take against the reciter's, drawn in the room the panel leaves below
    // the example's text, after every saved take.
    compareView = new CompareView(paneControls.Samples);
    compareView->hide();
    stretchPlayer = sound->MakeStretchPlayer(this, programVolume, slowedSounds);
    CompareController::Callouts compareCallouts;
    compareCallouts.PlayStretch = [this](const QString &path, double from, double to, double speed) {
        stretchPlayer->Play(path, from, to, speed);
    };
    compareCallouts.Announce
        = [this](const QString &sentence) { paneControls.Samples->setAccessibleDescription(sentence); };
    comparison = new CompareController(*compareView, std::move(compareCallouts), *sound, this);
    // The comparison is of the file saved, and only while its example is on
    // show: a take saved because the learner went to another page or example
    // is kept, but not spoken of there.
    connect(recorder, &Recorder::TakeSaved, this, [this](const QString &take) {
        if (take != recorder->RecordingPath())
            return;
        comparison->CompareAfterSave(ExamplesDir + QFileInfo(take).completeBaseName() + QStringLiteral(".mp3"), take,
            reciterSpeed ? reciterSpeed->Speed() : 1.0);
        LayoutExamplesPanel();
        if (repeatRound)
            repeatRound->NoteTakeSaved();
    });
    // Whatever page the take was saved from, the marks follow the folder.
    connect(recorder, &Recorder::TakeSaved, this, [this] {
        progress->Read();
        examples->ShowProgress();
        menu->ShowProgress();
    });
    CreatePracticeLoop();
}

// The slower reciter and "repeat after me" drive the recorder, the player and
// the comparison that are already there.
void MainWindow::CreatePracticeLoop()
{
    const PracticeControls &p = practiceControls;
    reciterSpeed = new ReciterSpeed(p.Aspeed, this);
    connect(reciterSpeed, &ReciterSpeed::Changed, this, [this](double speed) {
        examples->SpeedChanged(speed);
        m_statusLine->Announce(
            ReciterSpeed::Name + QStringLiteral(": ") + ReciterSpeed::Spoken(reciterSpeed->Percent()), false);
    });

    RepeatRound::Callouts c;
    c.PlayReciter = [this] {
        if (practiceControls.Alisten->isEnabled() && !recorder->Listening)
            recorder->Listen();
    };
    c.ReciterPlaying = [this] { return recorder->Listening; };
    c.PlayCue = [this] {
        static const QByteArray cue = RepeatRound::CueWave();
        stretchPlayer->PlayWave(cue);
    };
    c.StartTake = [this] {
        recorder->Record();
        return recorder->Recording();
    };
    c.Level = [this] { return recorder->InputLevel(); };
    c.TakeRunning = [this] { return recorder->Recording(); };
    c.StopTake = [this] { recorder->Stop(); };
    c.PlayTake = [this] {
        recorder->Play();
        return recorder->PlayingTake();
    };
    c.TakePlaying = [this] { return recorder->PlayingTake(); };
    c.ComparisonPending = [this] { return comparison->IsBusy(); };
    c.SpeakComparison = [this] {
        const QString sentence = comparison->Sentence();
        if (!sentence.isEmpty())
            m_statusLine->Announce(sentence, false);
    };
    c.Halt = [this] {
        recorder->StopAndSave();
        comparison->StopStretch();
        stretchPlayer->Stop();
    };
    c.Announce = [this](const QString &text) { m_statusLine->Announce(text, false); };
    repeatRound = new RepeatRound(p.Arepeat, std::move(c), this);

    // A press of anything that plays, records or changes the example ends the
    // rounds first; then the press does what it always does.
    QList<ActiveLink *> ending { p.Arec, p.Astop, p.Aplay, p.Apause, p.Alisten, p.ImSamplesUp, p.ImSamplesDown,
        p.Atakes };
    for (int i = 1; i < int(p.SampleN.size()); ++i)
        ending << p.SampleN[i];
    for (ActiveLink *link : ending)
        connect(link, &ActiveLink::Pressed, repeatRound, &RepeatRound::End);

    takesList = new TakesList([this](const QString &take) { return sound->ReadSoundInfo(take).duration; }, p.Samples);
    connect(
        p.Atakes, &ActiveLink::Click, this, [this] { takesList->isVisible() ? CloseTakesList() : OpenTakesList(); });
    connect(takesList, &TakesList::GivenUp, this, &MainWindow::CloseTakesList);
    // A take chosen is heard whole and judged as a new one would be; its
    // sentence is said once the comparison has it.
    connect(takesList, &TakesList::Chosen, this, [this](const QString &path) {
        CloseTakesList();
        recorder->StopAndSave();
        MP->Stop();
        // Every take in the list is of the example on show, as its newest is.
        const QString reference
            = ExamplesDir + QFileInfo(recorder->RecordingPath()).completeBaseName() + QStringLiteral(".mp3");
        const double seconds = sound->ReadSoundInfo(path).duration;
        stretchPlayer->Play(path, 0, seconds + 0.2, 1.0);
        m_speakComparison = true;
        comparison->CompareAfterSave(reference, path, reciterSpeed->Speed());
        if (!comparison->IsBusy())
            emit comparison->Compared();
    });
    connect(comparison, &CompareController::Compared, this, [this] {
        if (std::exchange(m_speakComparison, false))
            m_statusLine->Announce(comparison->Sentence(), false);
    });
}

void MainWindow::OpenTakesList()
{
    const PracticeControls &p = practiceControls;
    const QString newest = recorder->RecordingPath();
    const QString reference = ExamplesDir + QFileInfo(newest).completeBaseName() + QStringLiteral(".mp3");
    takesList->Fill(
        newest, [this, reference](const QString &take) { return comparison->KnownDifference(reference, take); });
    if (takesList->Count() == 0)
        return;
    // Over the example and the strip below it, which it gives back on closing.
    const QWidget *shown = p.AyaSample->isVisible() ? static_cast<QWidget *>(p.AyaSample) : p.AyaText;
    const int top = std::max(0, shown->y());
    takesList->setGeometry(3, top, p.Samples->width() - 6, p.Samples->height() - top - 3);
    takesList->show();
    takesList->raise();
    takesList->setFocus(Qt::OtherFocusReason);
}

void MainWindow::CloseTakesList()
{
    if (!takesList || !takesList->isVisible())
        return;
    const bool hadFocus = takesList->hasFocus();
    takesList->hide();
    if (hadFocus && practiceControls.Atakes->isVisible())
        practiceControls.Atakes->setFocus(Qt::OtherFocusReason);
}

void MainWindow::LayoutExamplesPanel()
{
    if (!examples)
        return;
    examples->LayoutExamplesPanel();
    // The room below the example's text or picture, beside the recorder strip.
    const PracticeControls &p = practiceControls;
    const QWidget *shown = p.AyaSample->isVisible() ? static_cast<QWidget *>(p.AyaSample) : p.AyaText;
    const int left = p.SoundTools->x() + p.SoundTools->width() + 5;
    const int top = shown->y() + shown->height() + 4;
    comparison->FitInto(
        QRect(left, top, paneControls.Samples->width() - left - 3, paneControls.Samples->height() - top - 3));
}

// A link inside a page to a lesson's page goes the menu's road, so that the
// menu, the open page's position and the examples follow the page shown.
bool MainWindow::FollowPageLink(const QString &path)
{
    const auto target = pages->LessonOfPage(path);
    if (!target || !menu->SelectLesson(target->chapter, target->lesson))
        return false;
    const PagePosition &position = pages->Position();
    if (menu->CurChapter != target->chapter || menu->CurLesson != target->lesson)
        return true; // the page could not be opened; the menu has said so
    // The menu opens a lesson only when it was not selected already.
    if (position.chapter != target->chapter || position.lesson != target->lesson
        || (!position.indexMode && RTF->LocationURL() != path))
        pages->OpenLesson(target->chapter, target->lesson);
    if (pages->Position().indexMode) {
        if (target->entry >= 1)
            pages->OpenEntry(target->entry - 1);
        else
            pages->BabTitleClick();
    }
    return true;
}
// -------------------------------------------------------------------------------

void MainWindow::Load()
{
    SetPaths();
    CreateStatusLine();
    RecoverTakes();
    PlayWelcomeSound();
    CreatePopupMenu();
    LoadOptions(ConfigFolder + QStringLiteral("/savedoptions.ini"), settings);
    ReadConfig(AppFolder + QStringLiteral("/config.ini"), settings);
    catalogue.LoadCatalogue(AppFolder + QStringLiteral("/contents.ini"), *m_messages);
    ApplySkin();
    // The takes as they stand, those recovered from journals included.
    progress->Read();
    menu->BuildMenu(ImagesPath);
    m_loaded = true;
    OpenFirstPage();
}

void MainWindow::SetLearnerFolders(const QString &dataFolder, const QString &configFolder, const QString &journalFolder)
{
    DataFolder = QDir::cleanPath(dataFolder);
    ConfigFolder = QDir::cleanPath(configFolder);
    JournalFolder = journalFolder.isEmpty() ? QString() : QDir::cleanPath(journalFolder);
}

void MainWindow::RecoverTakes()
{
    const TakeJournal::Recovery recovery = TakeJournal::Recover(RecDir, JournalFolder, [](const QString &take) {
        TakeHistory::KeepPrevious(take);
        TakeHistory::Trim(take);
    });
    if (recovery.recovered.isEmpty())
        return;
    QStringList examples;
    for (const QString &take : recovery.recovered) {
        // c-l-n.wav, or c-l-k-n.wav on an entry's sub-page.
        const QStringList n = QFileInfo(take).completeBaseName().split(QLatin1Char('-'));
        if (n.size() == 3)
            examples << QStringLiteral("المثال %1 من الدرس %2 من الباب %3")
                            .arg(ArabicDigits(n[2]), ArabicDigits(n[1]), ArabicDigits(n[0]));
        else if (n.size() == 4)
            examples << QStringLiteral("المثال %1 من الموضوع %2 من الدرس %3 من الباب %4")
                            .arg(ArabicDigits(n[3]), ArabicDigits(n[2]), ArabicDigits(n[1]), ArabicDigits(n[0]));
        else
            examples << take;
    }
    const QString text = RecoveredMessage + examples.join(QStringLiteral("، "));
    m_statusLine->Announce(text);
    // Told once the window shows, not in its way while it starts.
    QTimer::singleShot(0, this, [this, text] {
        message = text;
        ShowMessage();
    });
}

void MainWindow::SetPaths()
{
    ImagesPath = AppFolder + QStringLiteral("/Images/");
    HtmlDir = AppFolder + QStringLiteral("/data/html/");
    ExamplesDir = AppFolder + QStringLiteral("/data/examples/");
    DataImagesDir = AppFolder + QStringLiteral("/data/images/");
    RecDir = DataFolder + QStringLiteral("/rec/");
    TextDir = AppFolder + QStringLiteral("/data/text/");
    if (m_ownMessages)
        m_ownMessages->setImagesPath(ImagesPath);
}

// The chime plays on while start-up continues; nothing waits for it. It starts
// once the window has first been drawn and the sound library has loaded:
// opening the sound pipeline takes longer than showing the window, and a
// learner should see the window first.
void MainWindow::PlayWelcomeSound()
{
    const QString path = AppFolder + QStringLiteral("/start.mp3");
    if (FileExists(path))
        m_pendingChime = path;
}

void MainWindow::StartPendingChime()
{
    if (m_pendingChime.isEmpty())
        return;
    EnsureSound();
    MP->SetFileName(m_pendingChime);
    m_pendingChime.clear();
}

void MainWindow::CreatePopupMenu()
{
    PopupMenuHandle = new QMenu(this);
    PopupMenuHandle->setObjectName(QStringLiteral("PopupMenuHandle"));
    PopupMenuHandle->setLayoutDirection(Qt::RightToLeft);
    const auto add = [this](int id, const QString &caption) {
        QAction *action = PopupMenuHandle->addAction(caption);
        action->setData(id);
    };
    add(CmdStartPage, QStringLiteral("صفحة البداية"));
    add(CmdAbout, QStringLiteral("حول البرنامج"));
    add(CmdReferences, QStringLiteral("مراجع البرنامج"));
    add(CmdHelp, QStringLiteral("كيف تستخدم البرنامج"));
    PopupMenuHandle->addSeparator()->setData(int(CmdSeparator));
    add(CmdMinimize, QStringLiteral("تصغير إلى شريط المهام"));
    add(CmdExit, QStringLiteral("خروج من البرنامج"));
}

void MainWindow::RunPopupCommand(int id)
{
    // The fixed pages replace the lesson, so the menu lets go of it.
    if (id >= CmdStartPage && id <= CmdHelp) {
        menu->ResetMenu();
        pages->LeaveLesson();
    }
    switch (id) {
    case CmdStartPage: RTF->Navigate(HtmlDir + QStringLiteral("first.htm")); break;
    case CmdAbout: RTF->Navigate(HtmlDir + QStringLiteral("about.htm")); break;
    case CmdReferences: RTF->Navigate(HtmlDir + QStringLiteral("ref.htm")); break;
    case CmdHelp: RTF->Navigate(HtmlDir + QStringLiteral("help.htm")); break;
    case CmdMinimize: showMinimized(); break;
    case CmdExit: close(); break;
    default: break;
    }
}

QPixmap MainWindow::LoadSkinPicture(const QString &name) const
{
    return ::LoadSkinPicture(ImagesPath, name);
}

// The part of the skin step the window needs to show its first page: background,
// chrome buttons, the document pane and the page paths.
// The skin step: every control gets its pictures and its place, in the order
// the later steps rely on (sizes come from the pictures loaded before them).
// A missing or unreadable skin file leaves that control without its picture
// and the step goes on with the sizes that are there.
void MainWindow::ApplySkin()
{
    RTF->Navigate(DocumentView::Blank);

    // Timers tick only while they have work.
    scrollBarControls.TimerScroll->stop();
    menuControls.MenuScrollTimer->stop();
    menuControls.MenuScrollTimer->setInterval(LessonMenu::HeldScrollInterval);

    m_background = LoadSkinPicture(QStringLiteral("main.jpg"));

    const auto placeButton = [this](ActiveLink *button, const QString &rest, const QString &hover, QPoint centre) {
        button->setPicture(LoadSkinPicture(rest));
        button->setActivepicture(LoadSkinPicture(hover));
        const QSize size = button->picture().isNull() ? QSize(32, 32) : button->picture().size();
        button->setGeometry(QRect(centre - QPoint(size.width() / 2, size.height() / 2), size));
    };
    placeButton(ImExit, QStringLiteral("Exit.jpg"), QStringLiteral("ExitMouseOver.jpg"), ExitCentre);
    placeButton(Immin, QStringLiteral("Minimize.jpg"), QStringLiteral("MinimizeMouseOver.jpg"), MinimizeCentre);

    // Sound icons, the two rows of ten bars and their step buttons.
    volume->LoadSkin(ImagesPath, settings.MenuBackColor);

    // The examples bar and the lower panel, closed: the bar's closed top follows
    // from its picture.
    const QColor back = ColorFromBgr(settings.MenuBackColor);
    paneLayout->LoadSkin(ImagesPath, back);

    // The window and its skin keep their design size in logical pixels at any
    // DPI, so the outline is converted at the design's own twips per pixel.
    ApplyOutline(this, BuildOutline(MainWindowShapes(), 1, 1, 0, 0));

    // The mixer's levels in the bars, and a silent master raised, once the
    // mixer has opened: it opens after the first frame (paintEvent), and the
    // first frame shows the bars unlit and the lines open. Its client library
    // and the codecs under it are more than the first page's memory and
    // disk reads; the bars light a few frames later.
    mixer->WhenSettled([this] { volume->InitVolumeDisplay(); });

    // The closed examples bar ends where its title line would begin.
    paneControls.FrameBar->resize(paneControls.FrameBar->width(), TitleLineTop(paneControls.ImSamplesBar->geometry()));

    scrollBar->LoadSkin(ImagesPath, back);
    // The document pane under the bar, the page view reaching past its edges
    // (laid out inside the part that shows), and the scroll bar beside it.
    paneLayout->LayoutDocumentPane();
    paneLayout->ClampSplitterTop();

    StartPage = HtmlDir + QStringLiteral("first.htm");
    NoFilePage = HtmlDir + QStringLiteral("nofile.htm");
    pages->SetPaths(HtmlDir, ImagesPath);
    pages->LoadSkin();
    update();
}

// The skin step of the examples panel, once its controls are made.
void MainWindow::ApplyPracticeSkin()
{
    // The thirteen example buttons spread from the right, the reciter's line,
    // the recorder strip with its meter, and the example's text and picture.
    LoadPracticeSkin(practiceControls, ImagesPath, settings, paneControls.ImSamplesBar->geometry());
    examples->FitTitleHeight();
    // The comparison draws the reciter in the page's ink and the learner in the meter's colour.
    const QImage meter = practiceControls.vm[1]->pixmap().toImage();
    compareView->SetColors(practiceControls.AyaText->palette().color(QPalette::WindowText),
        meter.isNull() ? QColor(0x3C, 0x7D, 0x62) : meter.pixelColor(meter.width() / 2, meter.height() / 2));
    // The takes' list in the panel's paper and the page's ink, its choice in
    // the examples bar's colour.
    QPalette listPalette = practiceControls.Samples->palette();
    const QColor paper = listPalette.color(QPalette::Window);
    const QImage bar = paneControls.ImSamplesBar->pixmap().toImage();
    listPalette.setColor(QPalette::Base, paper);
    listPalette.setColor(QPalette::Text, practiceControls.AyaText->palette().color(QPalette::WindowText));
    listPalette.setColor(QPalette::Highlight,
        bar.isNull() ? QColor(0x1F, 0x4A, 0x3A) : bar.pixelColor(bar.width() / 2, bar.height() / 2));
    listPalette.setColor(QPalette::HighlightedText, paper);
    takesList->setPalette(listPalette);
    takesList->setFont(practiceControls.SampleTitle->font());
}

void MainWindow::OpenFirstPage()
{
    RTF->Navigate(FileExists(StartPage) ? StartPage : NoFilePage);
}

void MainWindow::ShowMessage()
{
    m_messages->ShowMsgForm(message);
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_background.isNull())
        p.drawPixmap(0, 0, m_background);
    else
        p.fillRect(rect(), palette().window());
    // The frame just drawn goes to the screen before the mixer opens and the
    // sound library loads.
    if (m_loaded && !std::exchange(m_mixerQueued, true)) {
        QTimer::singleShot(0, mixer, &MixerDevice::StartOpening);
        // The pictures of what was hidden at start, decoded before it shows.
        if (!examples)
            QTimer::singleShot(0, this, [this] { PrefetchSkinPictures(ImagesPath, SkinPictures::HiddenAtStart); });
    }
    if (m_loaded && !sound && !std::exchange(m_soundQueued, true))
        QTimer::singleShot(0, this, &MainWindow::EnsureSound);
    // Not into a master the mixer is still to raise from silence.
    if (!m_pendingChime.isEmpty())
        QTimer::singleShot(0, this, [this] { mixer->WhenSettled([this] { StartPendingChime(); }); });
    // After the first page has had its moment on screen, and before a learner
    // can have chosen a lesson, so that the first lesson opens at once too.
    if (m_loaded && !examples && !std::exchange(m_practiceQueued, true))
        QTimer::singleShot(PracticeAfterFirstPaintMs, this, &MainWindow::EnsurePracticeParts);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    // Presses on a control that does not take them (a plain picture) bubble up
    // to here; only the bare background drags the window or opens its menu.
    if (childAt(event->position().toPoint()))
        return;
    if (event->button() == Qt::RightButton) {
        QAction *chosen = PopupMenuHandle ? PopupMenuHandle->exec(event->globalPosition().toPoint()) : nullptr;
        RunPopupCommand(chosen ? chosen->data().toInt() : 0);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // The window system moves the window where it can; without a window manager
    // (a bare X server) the window follows the pointer by itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    menu->BackgroundMouseMove();
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

QList<QWidget *> MainWindow::KeyboardOrder(bool shownOnly) const
{
    QList<QWidget *> order { ImExit, Immin };

    // The menu's titles and the open chapter's links, top to bottom as they stand.
    QList<QWidget *> menuItems;
    for (int i = 1; i < int(menuControls.ImenuL.size()); ++i)
        menuItems << menuControls.ImenuL[i];
    for (int k = 1; k < int(menuControls.Alink.size()); ++k)
        menuItems << menuControls.Alink[k];
    std::stable_sort(menuItems.begin(), menuItems.end(),
        [](const QWidget *a, const QWidget *b) { return a->mapToGlobal(QPoint()).y() < b->mapToGlobal(QPoint()).y(); });
    order << menuItems << menuControls.MenuScrollUp << menuControls.MenuScrollDown;

    order << pageControls.BabTitle;
    for (ActiveLink *link : pageControls.Lien)
        order << link;
    order << RTF->Widget() << scrollBarControls.ScrollUp << scrollBarControls.ScrollDown;

    const PracticeControls &p = practiceControls;
    for (int i = 1; i < int(p.SampleN.size()); ++i)
        order << p.SampleN[i];
    order << p.ImSamplesUp << p.ImSamplesDown << p.Aspeed << p.Arepeat << p.Atakes << takesList << p.Alisten << p.Arec
          << p.Astop << p.Aplay << p.Apause;

    const MixerControls &m = mixerControls;
    order << m.WaveIcon;
    for (int i = 1; i < int(m.Imvol.size()); ++i)
        order << m.Imvol[i];
    order << m.volup << m.voldown << m.MicIcon;
    for (int i = 1; i < int(m.Immic.size()); ++i)
        order << m.Immic[i];
    order << m.micup << m.micdown;

    order.removeIf([shownOnly](const QWidget *w) { return !w || (shownOnly && (!w->isVisible() || !w->isEnabled())); });
    return order;
}

bool MainWindow::focusNextPrevChild(bool next)
{
    const QList<QWidget *> order = KeyboardOrder();
    if (order.isEmpty())
        return QWidget::focusNextPrevChild(next);
    QWidget *current = focusWidget();
    const QList<QWidget *> all = KeyboardOrder(false);
    if (current && !current->isVisible() && all.contains(current)) {
        // The focused control is hiding itself (Record gives way to Stop): once
        // the press has shown what replaces it, the focus goes to the next
        // control shown after its place, not back to the start of the window.
        const qsizetype place = all.indexOf(current);
        QTimer::singleShot(0, this, [this, place] {
            const QList<QWidget *> all = KeyboardOrder(false);
            for (qsizetype i = 1; i <= all.size(); ++i) {
                QWidget *candidate = all[(place + i) % all.size()];
                if (candidate->isVisible() && candidate->isEnabled()) {
                    candidate->setFocus(Qt::TabFocusReason);
                    return;
                }
            }
        });
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    qsizetype at = order.indexOf(current);
    for (qsizetype i = 0; at < 0 && current && i < order.size(); ++i) {
        if (order[i]->isAncestorOf(current))
            at = i;
    }
    const qsizetype n = order.size();
    const qsizetype to = at < 0 ? (next ? 0 : n - 1) : (at + (next ? 1 : n - 1)) % n;
    order[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The popup menu from the keyboard, as the context menu key opens one anywhere.
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        QAction *chosen = PopupMenuHandle->exec(mapToGlobal(rect().center()));
        RunPopupCommand(chosen ? chosen->data().toInt() : 0);
        return;
    }
    // Without a window manager (or one that leaves frameless windows alone)
    // nobody turns Alt+F4 into a close request; the window does it itself.
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::AltModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    Unload();
    event->accept();
}

void MainWindow::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The learner's own folder may not exist yet on a first run.
    QDir().mkpath(ConfigFolder);
    // A take still running is stopped and saved before anything goes away; the
    // comparison starts nothing more, so that nothing is left to wait for.
    if (repeatRound)
        repeatRound->End();
    if (comparison)
        comparison->Shutdown();
    if (stretchPlayer)
        stretchPlayer->Stop();
    if (recorder)
        recorder->Shutdown();
    SaveOptions(ConfigFolder + QStringLiteral("/savedoptions.ini"), settings);
    emit unloaded();
}
