#include "mainwindow.h"

#include "app/config.h"
#include "components/activelink.h"
#include "components/documentview.h"
#include "components/fonctions.h"
#include "components/qtmediaplayer.h"
#include "components/softwarevolume.h"
#include "components/textbrowserview.h"
#include "mixer/alsamixerdevice.h"
#include "mixer/mvolume.h"
#include "mixer/volumecontrols.h"
#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "skin/skinnedmessages.h"
#include "skin/windowshapes.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

using namespace FormDesign;

MainWindow::MainWindow(const QString &appFolder, Platform platform, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , AppFolder(QDir::cleanPath(appFolder))
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("رتّل"));
    setFixedSize(DesignWidth, DesignHeight);
    setLayoutDirection(Qt::RightToLeft);

    programVolume = new SoftwareVolume(this);
    MP = platform.MP ? platform.MP : new QtMediaPlayer(this, programVolume);
    RTF = platform.RTF ? platform.RTF : new TextBrowserView(this);
    if (platform.messages) {
        m_messages = platform.messages;
    } else {
        m_ownMessages = std::make_unique<SkinnedMessages>(this);
        m_messages = m_ownMessages.get();
    }
    CreateControls();

    LessonMenu::Callouts menuCallouts;
    menuCallouts.OpenLesson = [this](int c, int l) { return OpenLessonPage(c, l); };
    menuCallouts.ShowMessage = [this](const QString &text) {
        message = text;
        ShowMessage();
    };
    menu = new LessonMenu(menuControls, settings, catalogue, RTFP, std::move(menuCallouts), this);

    // Mixer: "No mixer found!" goes through the window's message sink.
    mixer = platform.mixer ? platform.mixer : new AlsaMixerDevice(programVolume, QStringLiteral("default"), this);
    m_mvolume = std::make_unique<MVolume>(mixer, m_messages);
    volume = new VolumeControls(mixerControls, *m_mvolume, mixer, this);

    // Hovered chapter titles return to rest when the pointer crosses the background.
    setMouseTracking(true);
}

MainWindow::~MainWindow() = default;

// Every control exists from here on; nothing is created at run time.
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
    mixerControls = CreateMixerControls(this);
}

void MainWindow::Load()
{
    SetPaths();
    PlayWelcomeSound();
    CreatePopupMenu();
    LoadOptions(AppFolder + QStringLiteral("/savedoptions.ini"), settings);
    ReadConfig(AppFolder + QStringLiteral("/config.ini"), settings);
    catalogue.LoadCatalogue(AppFolder + QStringLiteral("/contents.ini"), *m_messages);
    ApplySkin();
    menu->BuildMenu(ImagesPath);
    OpenFirstPage();
}

void MainWindow::SetPaths()
{
    ImagesPath = AppFolder + QStringLiteral("/Images/");
    HtmlDir = AppFolder + QStringLiteral("/data/html/");
    ExamplesDir = AppFolder + QStringLiteral("/data/examples/");
    DataImagesDir = AppFolder + QStringLiteral("/data/images/");
    RecDir = AppFolder + QStringLiteral("/rec/");
    TextDir = AppFolder + QStringLiteral("/data/text/");
    if (m_ownMessages)
        m_ownMessages->setImagesPath(ImagesPath);
}

// The chime plays on while start-up continues; nothing waits for it. It starts
// once the window has first been drawn: opening the sound pipeline takes longer
// than showing the window, and a learner should see the window first.
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
    if (id >= CmdStartPage && id <= CmdHelp)
        menu->ResetMenu();
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
void MainWindow::ApplySkin()
{
    RTF->Navigate(DocumentView::Blank);

    m_background = LoadSkinPicture(QStringLiteral("main.jpg"));

    const auto placeButton = [this](ActiveLink *button, const QString &rest, const QString &hover, QPoint centre) {
        button->setPicture(LoadSkinPicture(rest));
        button->setActivepicture(LoadSkinPicture(hover));
        const QSize size = button->picture().isNull() ? QSize(32, 32) : button->picture().size();
        button->setGeometry(QRect(centre - QPoint(size.width() / 2, size.height() / 2), size));
    };
    placeButton(ImExit, QStringLiteral("Exit.jpg"), QStringLiteral("ExitMouseOver.jpg"), ExitCentre);
    placeButton(Immin, QStringLiteral("Minimize.jpg"), QStringLiteral("MinimizeMouseOver.jpg"), MinimizeCentre);

    const int twips = ScreenTwipsPerPixel(screen());
    ApplyOutline(this, BuildOutline(MainWindowShapes(), 1, 1, 0, 0, twips, twips));

    // Sound controls: their pictures and places, then the mixer's levels.
    volume->LoadSkin(ImagesPath, settings.MenuBackColor);
    volume->InitVolumeDisplay();

    LayoutDocumentPane();

    StartPage = HtmlDir + QStringLiteral("first.htm");
    NoFilePage = HtmlDir + QStringLiteral("nofile.htm");
    update();
}

void MainWindow::LayoutDocumentPane()
{
    const QPixmap bar = LoadSkinPicture(QStringLiteral("SamplesBar.jpg"));
    const int frameBarTop = BarBottom - (bar.isNull() ? 0 : bar.height());
    const int height = qMax(0, frameBarTop - PaneTop - PaneGap);
    RTFP->setGeometry(PaneLeft, PaneTop, PaneWidth, height);
    RTFP->show();
    // The view reaches past the pane so that its own edges stay hidden.
    RTF->Widget()->setGeometry(-20, -2, PaneWidth + 22, height + 22);
    RTF->SetHiddenEdges(QMargins(20, 2, 2, 20));
}

void MainWindow::OpenFirstPage()
{
    RTF->Navigate(FileExists(StartPage) ? StartPage : NoFilePage);
}

// Stands in for the page logic's OpenLesson until that part of the program is
// built: it shows the lesson's own page, or the missing-page page.
LessonMenu::OpenResult MainWindow::OpenLessonPage(int chapter, int lesson)
{
    const QString page = HtmlDir + QStringLiteral("Ch%1-%2.htm").arg(chapter).arg(lesson);
    if (!FileExists(page)) {
        RTF->Navigate(NoFilePage);
        return LessonMenu::OpenResult::Opened;
    }
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return LessonMenu::OpenResult::FileInUse;
    file.close();
    RTF->Navigate(page);
    return LessonMenu::OpenResult::Opened;
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
    if (!m_pendingChime.isEmpty())
        QTimer::singleShot(0, this, &MainWindow::StartPendingChime);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
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
    SaveOptions(AppFolder + QStringLiteral("/savedoptions.ini"), settings);
    emit unloaded();
}
