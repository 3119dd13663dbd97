// SPDX-License-Identifier: GPL-3.0-or-later

#include "lessonpages.h"

#include "base/colors.h"
#include "base/fonctions.h"
#include "base/numbers.h"
#include "content/catalogue.h"
#include "content/documentscrollbar.h"
#include "pageview/documentview.h"
#include "skin/formdesign.h"
#include "skin/skinfiles.h"
#include "widgets/activelink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>

#include <cmath>
#include <utility>

using namespace FormDesign;

namespace {

constexpr qint32 TitleColor = 0x000080;
constexpr qint32 LinkColor = 0xFF0000;
constexpr qint32 HighlightColor = 0xC0FFFF;

} // namespace

LessonPages::LessonPages(const PageControls &controls, DocumentView *RTF, QWidget *RTFP, QWidget *FrameBar,
    DocumentScrollBar &scrollBar, const Catalogue &catalogue, Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_RTF(RTF)
    , m_RTFP(RTFP)
    , m_FrameBar(FrameBar)
    , m_scrollBar(scrollBar)
    , m_catalogue(catalogue)
    , m_callouts(std::move(callouts))
{
    connect(m_c.BabTitle, &ActiveLink::Click, this, &LessonPages::BabTitleClick);
    for (int i = 0; i < PageControls::EntryLinks; ++i) {
        connect(m_c.Lien[i], &ActiveLink::Click, this, [this, i] { OpenEntry(i); });
        connect(m_c.Lien[i], &ActiveLink::MouseMove, this, [this, i] { LinkMouseMove(i); });
    }
    m_c.BabFrame->installEventFilter(this);
    m_c.BabBack->installEventFilter(this);
}

void LessonPages::SetPaths(const QString &htmlDir, const QString &imagesPath)
{
    m_htmlDir = htmlDir;
    m_imagesPath = imagesPath;
    m_noFilePage = htmlDir + QStringLiteral("nofile.htm");
}

// The index's background is the largest picture but the window's, and the
// index is hidden at start: it is loaded when an index is first shown.
void LessonPages::LoadSkin()
{
    m_indexBackLoaded = false;
    m_hand = SkinHandCursor(m_imagesPath);
    m_c.Line2->hide();
}

QString LessonPages::PageFileName(int c, int l, int k)
{
    if (k > 0)
        return QStringLiteral("Ch%1-%2-%3.htm").arg(c).arg(l).arg(k);
    return QStringLiteral("Ch%1-%2.htm").arg(c).arg(l);
}

std::optional<LessonPages::PageName> LessonPages::LessonOfPage(const QString &path) const
{
    static const QRegularExpression name(
        QStringLiteral("^Ch(\\d{1,4})-(\\d{1,4})(?:-(\\d{1,4}))?\\.htm$"), QRegularExpression::CaseInsensitiveOption);
    const QFileInfo info(path);
    if (m_htmlDir.isEmpty() || QDir(info.absolutePath()) != QDir(m_htmlDir))
        return std::nullopt;
    const QRegularExpressionMatch match = name.match(info.fileName());
    if (!match.hasMatch())
        return std::nullopt;
    PageName page;
    page.chapter = match.captured(1).toInt();
    page.lesson = match.captured(2).toInt();
    page.entry = match.captured(3).toInt();
    return page;
}

bool LessonPages::Unreadable(const QString &path)
{
    if (!FileExists(path))
        return false;
    QFile file(path);
    return !file.open(QIODevice::ReadOnly);
}

PageOpenResult LessonPages::ShowPage(const QString &path)
{
    m_RTF->Navigate(FileExists(path) ? path : m_noFilePage);
    return PageOpenResult::Opened;
}

void LessonPages::ClearExamples()
{
    if (m_callouts.SetupExampleButtons)
        m_callouts.SetupExampleButtons(0);
}

PageOpenResult LessonPages::OpenLesson(int c, int l)
{
    const int n = m_catalogue.PageExamples(c, l, 0);
    if (n >= Catalogue::IndexThreshold) {
        m_position = { qint16(c), qint16(l), 0, true };
        // The panel shuts first: the list's frame reaches down to the bar.
        ClearExamples();
        ShowIndex();
        return PageOpenResult::Opened;
    }
    // A locked page changes nothing: the page on show and its position stay.
    const QString page = m_htmlDir + PageFileName(c, l);
    if (Unreadable(page))
        return PageOpenResult::FileInUse;
    m_position = { qint16(c), qint16(l), 0, false };
    m_c.Line2->hide();
    if (m_callouts.LayoutDocumentPane)
        m_callouts.LayoutDocumentPane();
    if (m_callouts.SetupExampleButtons)
        m_callouts.SetupExampleButtons(n);
    ShowPage(page);
    if (m_callouts.LayoutExamplesPanel)
        m_callouts.LayoutExamplesPanel();
    return PageOpenResult::Opened;
}

void LessonPages::ShowIndex()
{
    const int c = m_position.chapter;
    const int l = m_position.lesson;
    m_RTFP->hide();
    m_scrollBar.Hide();
    m_c.Line2->hide();
    QWidget *frame = m_c.BabFrame;
    frame->setGeometry(PaneLeft, PaneTop, PaneWidth, qMax(0, m_FrameBar->y() - PaneTop - PaneGap));
    frame->show();
    frame->raise();

    QLabel *back = m_c.BabBack;
    if (!std::exchange(m_indexBackLoaded, true)) {
        const QPixmap picture = LoadSkinPicture(m_imagesPath, QStringLiteral("back.gif"));
        if (!picture.isNull()) {
            back->setPixmap(picture);
            back->resize(picture.size());
        }
    }
    back->move(RoundToCoordinate((frame->width() - back->width()) / 2.0),
        RoundToCoordinate((frame->height() - back->height()) / 2.0));

    ActiveLink *title = m_c.BabTitle;
    QFont titleFont(QStringLiteral("Hesham AlSharq"));
    SetDesignPointSize(titleFont, 22);
    titleFont.setBold(false);
    title->setTextFont(titleFont);
    title->setForecolor(ColorFromBgr(TitleColor));
    title->setBackcolor(QColor());
    title->setCaption(m_catalogue.LessonTitle(c, l));
    title->setAlwayshandcursor(false);
    title->setGeometry(0, BabTitleTop, frame->width(), QFontMetrics(titleFont).height());

    QFont linkFont(QStringLiteral("Traditional Arabic"));
    SetDesignPointSize(linkFont, 18);
    linkFont.setBold(true);
    int top = title->y() + title->height() + FirstLinkGap;
    for (int i = 0; i < PageControls::EntryLinks; ++i) {
        ActiveLink *link = m_c.Lien[i];
        link->setBackcolor(QColor());
        link->setBorderstyle(0);
        link->setTextFont(linkFont);
        link->setForecolor(ColorFromBgr(LinkColor));
        link->setAlignment(ActiveLink::AlignCenterCode);
        const int left = RoundToCoordinate((frame->width() - link->width()) / 2.0);
        link->setGeometry(left, top, LinkSize.width(), LinkSize.height());
        const QString caption = m_catalogue.EntryTitle(c, l, i + 1);
        if (!caption.isEmpty())
            link->setCaption(caption);
        link->setVisible(!caption.isEmpty());
        link->setAlwayshandcursor(true);
        link->setHandCursor(m_hand);
        top += LinkStep;
    }
}

PageOpenResult LessonPages::OpenEntry(int i)
{
    if (!m_position.indexMode || i < 0 || i >= PageControls::EntryLinks)
        return PageOpenResult::Failed;
    const int c = m_position.chapter;
    const int l = m_position.lesson;
    const int k = i + 1;
    const QString page = m_htmlDir + PageFileName(c, l, k);
    if (Unreadable(page)) {
        if (m_callouts.ShowMessage)
            m_callouts.ShowMessage(PageFileInUseMessage);
        return PageOpenResult::FileInUse;
    }
    m_position.entry = qint16(k);

    QWidget *frame = m_c.BabFrame;
    ActiveLink *title = m_c.BabTitle;
    title->move(title->x(), 0);
    frame->resize(frame->width(), title->height());
    // Built from the lesson's title, so that a second entry never doubles the word.
    title->setCaption(IndexPrefix + m_catalogue.LessonTitle(c, l));
    title->setAlwayshandcursor(true);
    title->setHandCursor(m_hand);

    m_RTFP->show();
    const int y = frame->y() + frame->height();
    m_c.Line2->setGeometry(frame->x(), y, frame->width(), 1);
    m_c.Line2->show();
    m_c.Line2->raise();

    const int paneTop = frame->y() + frame->height() + 1;
    m_RTFP->setGeometry(PaneLeft, paneTop, PaneWidth, qMax(0, m_FrameBar->y() - paneTop - PaneGap));
    m_scrollBar.LayoutScrollBar();
    // The view follows the pane's new height, or the page's end would sit
    // under the pane's bottom edge.
    m_RTF->Widget()->setGeometry(
        -ViewOverhangLeft, -ViewOverhangTop, m_RTFP->width() + ViewExtra, m_RTFP->height() + ViewExtra);

    if (m_callouts.SetupExampleButtons)
        m_callouts.SetupExampleButtons(m_catalogue.PageExamples(c, l, k));
    ShowPage(page);
    if (m_callouts.LayoutExamplesPanel)
        m_callouts.LayoutExamplesPanel();
    return PageOpenResult::Opened;
}

void LessonPages::BabTitleClick()
{
    if (!m_position.indexMode)
        return;
    ClearExamples();
    ShowIndex();
}

void LessonPages::LeaveLesson()
{
    m_position = {};
    m_c.Line2->hide();
    ClearExamples();
    if (m_callouts.LayoutDocumentPane)
        m_callouts.LayoutDocumentPane();
}

void LessonPages::LinkMouseMove(int i)
{
    for (int j = 0; j < PageControls::EntryLinks; ++j) {
        m_c.Lien[j]->setBackcolor(j == i ? ColorFromBgr(HighlightColor) : QColor());
        m_c.Lien[j]->setBorderstyle(j == i ? 1 : 0);
    }
}

void LessonPages::FrameMouseMove()
{
    for (ActiveLink *link : m_c.Lien) {
        link->setBackcolor(QColor());
        link->setBorderstyle(0);
        link->setForecolor(ColorFromBgr(LinkColor));
    }
}

bool LessonPages::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_c.BabFrame || watched == m_c.BabBack) && event->type() == QEvent::MouseMove)
        FrameMouseMove();
    return false;
}

bool LessonPages::FollowPageLink(
    const QString &path, const std::function<std::optional<bool>(int c, int l)> &selectInMenu)
{
    const std::optional<PageName> target = LessonOfPage(path);
    if (!target)
        return false;
    const std::optional<bool> selected = selectInMenu(target->chapter, target->lesson);
    if (!selected)
        return false;
    if (!*selected)
        return true;
    // The menu opens a lesson only when it was not selected already.
    if (m_position.chapter != target->chapter || m_position.lesson != target->lesson
        || (!m_position.indexMode && m_RTF->LocationURL() != path))
        OpenLesson(target->chapter, target->lesson);
    if (m_position.indexMode) {
        if (target->entry >= 1)
            OpenEntry(target->entry - 1);
        else
            BabTitleClick();
    }
    return true;
}
