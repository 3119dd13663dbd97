// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"

#include "app/config.h"
#include "app/keyboardorder.h"
#include "audio/mediaplayer.h"
#include "audio/silentsound.h"
#include "audio/softwarevolume.h"
#include "audio/soundlibrary.h"
#include "audio/soundmodule.h"
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
#include "practice/practicesession.h"
#include "practice/takeslist.h"
#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "skin/skinnedmessages.h"
#include "skin/windowshapes.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
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
        if (practice)
            practice->ClosePanel();
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
    // Before the devices it uses, which are children of the window too.
    delete practice;
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
        // Every road to another page comes here.
        if (n > 0)
            EnsurePracticeParts();
        if (practice)
            practice->PageOpened(n);
    };
    pageCallouts.LayoutExamplesPanel = [this] { LayoutExamplesPanel(); };
    pages = new LessonPages(
        pageControls, RTF, RTFP, paneControls.FrameBar, *scrollBar, catalogue, std::move(pageCallouts), this);
    RTF->SetLinkHandler([this](const QString &path) {
        return pages->FollowPageLink(path, [this](int c, int l) { return menu->SelectLinkedLesson(c, l); });
    });
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

// The practice loop names its takes from the open page and finds the
// example's files in the course's folders: it is made once those are known.
void MainWindow::CreatePracticeParts()
{
    PracticeSession::Devices devices;
    devices.audio = waveAudio;
    devices.input = waveInput;
    devices.reciter = MP;
    devices.sound = sound;
    devices.volume = programVolume;
    devices.slowed = slowedSounds;
    PracticeSession::Callouts c;
    c.Position = [this] { return pages->Position(); };
    c.ShowMessage = [this](const QString &text) {
        message = text;
        ShowMessage();
    };
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

void MainWindow::LayoutExamplesPanel()
{
    if (practice)
        practice->Layout();
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
    const QString text = PracticeSession::RecoverTakes(RecDir, JournalFolder);
    if (text.isEmpty())
        return;
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
        if (!practice)
            QTimer::singleShot(0, this, [this] { PrefetchSkinPictures(ImagesPath, SkinPictures::HiddenAtStart); });
    }
    if (m_loaded && !sound && !std::exchange(m_soundQueued, true))
        QTimer::singleShot(0, this, &MainWindow::EnsureSound);
    // Not into a master the mixer is still to raise from silence.
    if (!m_pendingChime.isEmpty())
        QTimer::singleShot(0, this, [this] { mixer->WhenSettled([this] { StartPendingChime(); }); });
    // After the first page has had its moment on screen, and before a learner
    // can have chosen a lesson, so that the first lesson opens at once too.
    if (m_loaded && !practice && !std::exchange(m_practiceQueued, true))
        QTimer::singleShot(PracticeAfterFirstPaintMs, this, &MainWindow::EnsurePracticeParts);
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
    return m_keyboard->Order(shownOnly);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    return m_keyboard->Move(next) || QWidget::focusNextPrevChild(next);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The popup menu from the keyboard, as the context menu key opens one anywhere.
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        if (PopupMenuHandle)
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
    // A take still running is stopped and saved before anything goes away.
    if (practice)
        practice->Shutdown();
    SaveOptions(ConfigFolder + QStringLiteral("/savedoptions.ini"), settings);
    emit unloaded();
}
