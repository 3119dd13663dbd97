// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"

#include "app/config.h"
#include "app/firstframe.h"
#include "app/keyboardorder.h"
#include "app/soundparts.h"
#include "base/colors.h"
#include "base/fonctions.h"
#include "content/documentscrollbar.h"
#include "content/lessonpages.h"
#include "layout/panelayout.h"
#include "mixer/mvolume.h"
#include "mixer/volumecontrols.h"
#include "pageview/documentview.h"
#include "pageview/textbrowserview.h"
#include "practice/practiceprogress.h"
#include "practice/practicesession.h"
#include "practice/takeslist.h"
#include "skin/chromecontrols.h"
#include "skin/skinfiles.h"
#include "skin/skinnedmessages.h"
#include "skin/windowdrag.h"
#include "skin/windowshapes.h"
#include "sound/api/mediaplayer.h"
#include "sound/core/softwarevolume.h"
#include "sound/program/silentsound.h"
#include "widgets/activelink.h"
#include "widgets/showchildren.h"
#include "widgets/statusline.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

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
    // The players, the recorder's devices and the mixer come from the sound library.
    m_sound = std::make_unique<SoundParts>(this, platform, programVolume, [this] { EnsureSound(); });
    mixer = m_sound->Mixer();
    RTF = platform.RTF ? platform.RTF : new TextBrowserView(this);
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
        if (practice)
            practice->ClosePanel();
    };
    menuCallouts.ShowMessage = [this](const QString &text) { Tell(text); };
    menuCallouts.LessonProgress = [this](int c, int l) {
        const auto share = progress ? progress->LessonShare(catalogue, c, l) : PracticeProgress::Share {};
        return std::pair(share.practised, share.examples);
    };
    menu = new LessonMenu(menuControls, settings, catalogue, RTFP, std::move(menuCallouts), this);

    // Mixer: "No mixer found!" goes through the window's message sink.
    m_mvolume = std::make_unique<MVolume>(mixer, m_messages);
    volume = new VolumeControls(mixerControls, *m_mvolume, mixer, this);

    FirstFrame::Steps steps;
    steps.OpenMixer = [this] { mixer->StartOpening(); };
    steps.PrefetchHidden = [this] {
        if (!practice)
            PrefetchSkinPictures(ImagesPath, SkinPictures::HiddenAtStart);
    };
    steps.LoadSound = [this] { EnsureSound(); };
    // The chime plays on while start-up continues, once the window is seen:
    // opening the sound pipeline takes longer than showing the window.
    steps.StartChime = [this] {
        mixer->WhenSettled([this] {
            if (m_pendingChime.isEmpty())
                return;
            EnsureSound();
            MP->SetFileName(std::exchange(m_pendingChime, QString()));
        });
    };
    steps.MakePractice = [this] { EnsurePracticeParts(); };
    m_firstFrame = new FirstFrame(std::move(steps), this);

    // Hovered chapter titles return to rest when the pointer crosses the background.
    setMouseTracking(true);
}

MainWindow::~MainWindow()
{
    // Before the devices it uses, which are children of the window too.
    delete practice;
}

// What the first page shows, and what the menu and the page need to lay
// themselves out; the examples panel's controls come in EnsurePracticeParts.
void MainWindow::CreateControls()
{
    RTFP = new QWidget(this);
    RTFP->setObjectName(QStringLiteral("RTFP"));
    RTF->Widget()->setParent(RTFP);
    RTF->Widget()->show();

    const ChromeControls chrome = CreateChromeControls(this);
    ImExit = chrome.ImExit;
    Immin = chrome.Immin;

    menuControls = CreateMenuControls(this);

    paneControls = CreatePaneControls(this);
    pageControls = CreatePageControls(this);
    scrollBarControls = CreateScrollBarControls(this);
    mixerControls = CreateMixerControls(this);

    KeyboardOrder::Controls keys;
    keys.chrome = { ImExit, Immin };
    keys.menu = &menuControls;
    keys.pages = &pageControls;
    keys.page = RTF->Widget();
    keys.scrollBar = &scrollBarControls;
    keys.practice = &practiceControls;
    keys.takesList = [this]() -> QWidget * { return practice ? &practice->Takes() : nullptr; };
    keys.mixer = &mixerControls;
    m_keyboard = std::make_unique<::KeyboardOrder>(*this, std::move(keys));
}

void MainWindow::CreatePageParts()
{
    scrollBar = new DocumentScrollBar(scrollBarControls, RTF, RTFP, settings, this);

    PaneLayout::Callouts paneCallouts;
    paneCallouts.LayoutExamplesPanel = [this] {
        if (practice)
            practice->Layout();
    };
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
    pageCallouts.ShowMessage = [this](const QString &text) { Tell(text); };
    pageCallouts.SetupExampleButtons = [this](int n) {
        // Every road to another page comes here.
        if (n > 0)
            EnsurePracticeParts();
        if (practice)
            practice->PageOpened(n);
    };
    pageCallouts.LayoutExamplesPanel = paneCallouts.LayoutExamplesPanel;
    pages = new LessonPages(
        pageControls, RTF, RTFP, paneControls.FrameBar, *scrollBar, catalogue, std::move(pageCallouts), this);
    RTF->SetLinkHandler([this](const QString &path) {
        return pages->FollowPageLink(path, [this](int c, int l) { return menu->SelectLinkedLesson(c, l); });
    });
}

// The examples panel and all that works in it are hidden at start: they are
// made when a page with examples first opens, or once the first page is on
// screen, whichever comes first, so that the first page waits for none of it.
// They need the course's folders and its skin, so not before Load.
void MainWindow::EnsurePracticeParts()
{
    if (practice || !m_loaded)
        return;
    // The panel's parts play and record: a lesson chosen before the sound
    // library came loads it now (a few milliseconds) rather than losing the click.
    EnsureSound();
    const QList<QWidget *> before = findChildren<QWidget *>();
    practiceControls = CreatePracticeControls(paneControls.FrameBar, paneControls.Samples);
    CreatePracticeParts();
    practice->ApplySkin(paneControls.ImSamplesBar->pixmap(), paneControls.ImSamplesBar->geometry());
    paneLayout->ClampSplitterTop();
    ShowChildrenMadeSince(this, before);
}

// Once the first frame is drawn, or sooner when something must sound (a
// lesson chosen first, the welcome chime); a program that cannot load its
// sound library goes on silent, and says so once.
void MainWindow::EnsureSound()
{
    if (sound)
        return;
    m_sound->Load();
    sound = m_sound->Module();
    slowedSounds = m_sound->Slowed();
    MP = m_sound->Player();
    waveAudio = m_sound->Audio();
    waveInput = m_sound->Input();
    if (m_sound->Silent() && m_statusLine)
        m_statusLine->Announce(SilentSound::Message, true);
    if (m_sound->Silent() && m_mvolume)
        m_mvolume->NoSoundTold();
}

// The practice loop names its takes from the open page and finds the
// example's files in the course's folders: it is made once those are known.
void MainWindow::CreatePracticeParts()
{
    const PracticeSession::Devices devices { waveAudio, waveInput, MP, sound, programVolume, slowedSounds };
    PracticeSession::Callouts c;
    c.Position = [this] { return pages->Position(); };
    c.ShowMessage = [this](const QString &text) { Tell(text); };
    c.ShowMessageBox = [this](const QString &text) { m_messages->ShowMessageBox(text); };
    c.Announce = [this](const QString &text, bool urgent) { m_statusLine->Announce(text, urgent); };
    c.SlidePanelBar = [this](const QString &direction, qint32 distance, qint16 step) {
        paneLayout->SlidePanelBar(direction, distance, step);
    };
    c.PanelClosedTop = [this] { return int(paneLayout->PanelClosedTop()); };
    c.RecomputeScrollTrack = [this] { paneLayout->RecomputeScrollTrack(); };
    c.ShowSplitter = [this](bool shown) { paneLayout->ShowSplitter(shown); };
    c.ProgressChanged = [this] { menu->ShowProgress(); };
    PracticeSession::Folders folders { ImagesPath, { ExamplesDir, TextDir, DataImagesDir, RecDir }, JournalFolder };
    practice = new PracticeSession(practiceControls, devices, settings, *progress, folders, std::move(c), this);
}

void MainWindow::Load()
{
    SetPaths();
    // The spoken news and the learner's progress are needed from the start:
    // a take recovered from its journal is told at once (on the status line,
    // and once the window shows), and the menu shows what has been practised.
    m_statusLine = new StatusLine(this);
    m_statusLine->show();
    progress = std::make_unique<PracticeProgress>(RecDir);
    if (const QString told = PracticeSession::RecoverTakes(RecDir, JournalFolder); !told.isEmpty()) {
        m_statusLine->Announce(told);
        QTimer::singleShot(0, this, [this, told] { Tell(told); });
    }
    if (FileExists(AppFolder + QStringLiteral("/start.mp3")))
        m_pendingChime = AppFolder + QStringLiteral("/start.mp3");
    CreatePopupMenu();
    LoadOptions(ConfigFolder + QStringLiteral("/savedoptions.ini"), settings);
    ReadConfig(AppFolder + QStringLiteral("/config.ini"), settings);
    catalogue.LoadCatalogue(AppFolder + QStringLiteral("/contents.ini"), *m_messages);
    ApplySkin();
    // The takes as they stand, those recovered from journals included.
    progress->Read();
    menu->BuildMenu(ImagesPath);
    m_loaded = true;
    RTF->Navigate(FileExists(StartPage) ? StartPage : NoFilePage);
}

void MainWindow::SetLearnerFolders(const QString &dataFolder, const QString &configFolder, const QString &journalFolder)
{
    DataFolder = QDir::cleanPath(dataFolder);
    ConfigFolder = QDir::cleanPath(configFolder);
    JournalFolder = journalFolder.isEmpty() ? QString() : QDir::cleanPath(journalFolder);
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

void MainWindow::CreatePopupMenu()
{
    PopupMenu::Callouts c;
    c.LeaveLesson = [this] {
        menu->ResetMenu();
        pages->LeaveLesson();
    };
    c.Navigate = [this](const QString &page) { RTF->Navigate(page); };
    c.Minimize = [this] { showMinimized(); };
    c.Exit = [this] { close(); };
    PopupMenuHandle = new PopupMenu(HtmlDir, std::move(c), this);
}

void MainWindow::RunPopupCommand(int id)
{
    PopupMenuHandle->Run(id);
}

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

    m_background = ::LoadSkinPicture(ImagesPath, QStringLiteral("main.jpg"));

    LoadChromeSkin({ ImExit, Immin }, ImagesPath);

    // Sound icons, the two rows of ten bars and their step buttons.
    volume->LoadSkin(ImagesPath, settings.MenuBackColor);

    // The examples bar and the lower panel, closed, as the bar's picture sets.
    const QColor back = ColorFromBgr(settings.MenuBackColor);
    paneLayout->LoadSkin(ImagesPath, back);

    // The window and its skin keep their design size in logical pixels at any
    // DPI, so the outline is converted at the design's own twips per pixel.
    ApplyOutline(this, BuildOutline(MainWindowShapes(), 1, 1, 0, 0));

    // The mixer's levels in the bars, and a silent master raised, once it has
    // opened after the first frame: until then the bars show unlit.
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

void MainWindow::ShowMessage()
{
    m_messages->ShowMsgForm(message);
}

void MainWindow::Tell(const QString &text)
{
    message = text;
    ShowMessage();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_background.isNull())
        p.drawPixmap(0, 0, m_background);
    else
        p.fillRect(rect(), palette().window());
    if (m_loaded)
        m_firstFrame->Drawn();
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    // Presses on a control that does not take them (a plain picture) bubble up
    // to here; only the bare background drags the window or opens its menu.
    if (childAt(event->position().toPoint()))
        return;
    if (event->button() == Qt::RightButton) {
        if (PopupMenuHandle)
            PopupMenuHandle->ChooseAt(event->globalPosition().toPoint());
        return;
    }
    m_drag.Press(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    menu->BackgroundMouseMove();
    m_drag.Move(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_drag.Release();
}

QList<QWidget *> MainWindow::KeyboardOrder(bool shownOnly) const
{
    return m_keyboard->Order(shownOnly);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    return m_keyboard->Move(next) || QWidget::focusNextPrevChild(next);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The popup menu from the keyboard, as the context menu key opens one anywhere.
    if (PopupMenuHandle && PopupMenuHandle->OpensOn(*event)) {
        PopupMenuHandle->ChooseAt(mapToGlobal(rect().center()));
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
    // A take that nothing could keep (a full disk everywhere) is not lost
    // without the learner's word: staying leaves it in memory, and the next
    // Record saves it once there is room.
    if (!m_unloaded && !m_closingNow && practice && !practice->SecureTakes() && m_messages
        && !m_messages->Confirm(TakeAtRiskQuestion, LoseTakeAnswer, StayAnswer)) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void MainWindow::CloseNow()
{
    m_closingNow = true;
    close();
}

void MainWindow::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The learner's own folder may not exist yet on a first run.
    QDir().mkpath(ConfigFolder);
    // A take still running is stopped and saved before anything goes away.
    if (practice)
        practice->Shutdown();
    SaveOptions(ConfigFolder + QStringLiteral("/savedoptions.ini"), settings);
    emit unloaded();
}
