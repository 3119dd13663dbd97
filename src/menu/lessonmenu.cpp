// SPDX-License-Identifier: GPL-3.0-or-later

#include "lessonmenu.h"

#include "base/colors.h"
#include "base/fonctions.h"
#include "base/numbers.h"
#include "base/settings.h"
#include "content/catalogue.h"
#include "skin/skinfiles.h"
#include "widgets/activelink.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <cstdlib>

namespace {

// Looks that the menu gives in fixed colours, whatever config.ini says.
constexpr qint32 LostSelectionColor = 0x808080;
constexpr qint32 ReselectedColor = 0x80;

QFont menuFont(const QString &family, int size)
{
    QFont font(family);
    SetDesignPointSize(font, size);
    return font;
}

void setPictureIfLoaded(QLabel *label, const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    label->setPixmap(pixmap);
    label->resize(pixmap.size());
}

} // namespace

LessonMenu::LessonMenu(const MenuControls &controls, Settings &settings, const Catalogue &catalogue, QWidget *RTFP,
    Callouts callouts, QObject *parent)
    : QObject(parent)
    , m_c(controls)
    , m_settings(settings)
    , m_catalogue(catalogue)
    , m_RTFP(RTFP)
    , m_callouts(std::move(callouts))
{
    // A press on the menu must not drag the window; its own controls take it.
    m_c.MenuFrame->setAttribute(Qt::WA_NoMousePropagation);
    m_c.MenuIn->setAttribute(Qt::WA_NoMousePropagation);
    m_c.MenuIn->installEventFilter(this);
    // Below a short content the frame itself is the menu's background.
    m_c.MenuFrame->setMouseTracking(true);
    m_c.MenuFrame->installEventFilter(this);

    for (int i = 1; i <= MenuControls::ChapterItems; ++i) {
        // The whole title picture answers, not only the text laid over it.
        m_c.Imenu[i]->installEventFilter(this);
        connect(m_c.ImenuL[i], &ActiveLink::Click, this, [this, i] { ChapterClick(i); });
        connect(m_c.ImenuL[i], &ActiveLink::MouseMove, this, [this, i] { ChapterMouseMove(i); });
    }
    for (int k = 1; k <= MenuControls::LessonLinks; ++k) {
        connect(m_c.Alink[k], &ActiveLink::Click, this, [this, k] { LessonClick(k); });
        connect(m_c.Alink[k], &ActiveLink::MouseMove, this, [this, k] { LessonMouseMove(k); });
    }
    connect(m_c.MenuScrollUp, &ActiveLink::MouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            ScrollArrowPressed(QStringLiteral("UP"));
    });
    connect(m_c.MenuScrollDown, &ActiveLink::MouseDown, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            ScrollArrowPressed(QStringLiteral("DOWN"));
    });
    connect(m_c.MenuScrollUp, &ActiveLink::MouseUp, this, [this] { ScrollArrowReleased(); });
    connect(m_c.MenuScrollDown, &ActiveLink::MouseUp, this, [this] { ScrollArrowReleased(); });
    connect(m_c.MenuScrollTimer, &QTimer::timeout, this, &LessonMenu::MenuScrollTick);
}

int LessonMenu::Steps() const
{
    return qMax<int>(1, m_settings.MenuSteps);
}

int LessonMenu::ShownChapters() const
{
    return qBound(0, int(m_catalogue.ChapterCount()), MenuControls::ChapterItems);
}

int LessonMenu::ShownLessons(int c) const
{
    if (c < 1 || c > ShownChapters())
        return 0;
    return qBound(0, int(m_catalogue.LessonCount(c)), MenuControls::LessonLinks);
}

int LessonMenu::FrameHeight() const
{
    return m_c.MenuFrame->height();
}

void LessonMenu::BuildMenu(const QString &imagesPath)
{
    CurChapter = 0;
    CurLesson = 0;
    HoverChapter = 0;
    const int N = ShownChapters();
    const int offset = m_settings.TitleTextOffset;

    m_title = LoadSkinPicture(imagesPath, QStringLiteral("Title.jpg"));
    m_titleOver = LoadSkinPicture(imagesPath, QStringLiteral("TitleMouseOver.jpg"));
    m_titleSelected = LoadSkinPicture(imagesPath, QStringLiteral("TitleSelected.jpg"));
    m_subtitleBack = LoadSkinPicture(imagesPath, QStringLiteral("SubtitleBack.jpg"));
    m_subtitleActive = LoadSkinPicture(imagesPath, QStringLiteral("SubtitleActive.jpg"));
    const QCursor hand = SkinHandCursor(imagesPath);

    QLabel *first = m_c.Imenu[1];
    setPictureIfLoaded(first, m_title);
    m_left = first->x();
    m_top[1] = first->y();
    m_labelTop[1] = m_top[1] + offset;
    for (int i = 2; i <= N; ++i) {
        setPictureIfLoaded(m_c.Imenu[i], m_title);
        m_c.Imenu[i]->resize(first->size());
        m_top[i] = m_top[i - 1] + m_c.Imenu[i - 1]->height();
        m_labelTop[i] = m_top[i] + offset;
    }

    const QFont chapterFont = menuFont(m_settings.ChapterFont, m_settings.ChapterFontSize);
    const QFontMetrics metrics(chapterFont);
    for (int i = 1; i <= MenuControls::ChapterItems; ++i) {
        QLabel *image = m_c.Imenu[i];
        ActiveLink *label = m_c.ImenuL[i];
        image->setVisible(i <= N);
        label->setVisible(i <= N);
        if (i > N)
            continue;
        image->setCursor(hand);
        label->setTextFont(chapterFont);
        label->setLayoutDirection(Qt::RightToLeft);
        label->setAlignment(ActiveLink::AlignCenterCode);
        label->setForecolor(ColorFromBgr(m_settings.ChapterColor));
        label->setCaption(m_catalogue.ChapterTitle(i));
        label->setAlwayshandcursor(true);
        label->setHandCursor(hand);
        // The label is as tall as its text, so the text starts TitleTextOffset below
        // the picture's top; the picture under it takes the clicks beside the text.
        const int width = first->width();
        const QRect text = metrics.boundingRect(
            QRect(0, 0, width, 10000), int(Qt::AlignHCenter | Qt::TextWordWrap), label->caption());
        label->resize(width, qMax(text.height(), metrics.height()));
        label->raise();
    }

    for (int k = 1; k <= MenuControls::LessonLinks; ++k)
        m_c.Alink[k]->hide();
    m_c.ImSlide->hide();
    setPictureIfLoaded(m_c.ImSlide, LoadSkinPicture(imagesPath, QStringLiteral("slider.jpg")));
    setPictureIfLoaded(m_c.ImageRef, m_subtitleBack);

    const QPixmap linkOver = LoadSkinPicture(imagesPath, QStringLiteral("SubtitleMouseOver.jpg"));
    const QFont lessonFont = menuFont(m_settings.LessonFont, m_settings.LessonFontSize);
    for (int k = 1; k <= MenuControls::LessonLinks; ++k) {
        ActiveLink *link = m_c.Alink[k];
        link->setActivepicture(linkOver);
        link->resize(m_c.ImageRef->size());
        link->setPicture(m_c.ImageRef->pixmap());
        link->setTextFont(lessonFont);
        link->setForecolor(ColorFromBgr(m_settings.LessonColor));
        link->setActivefont(lessonFont);
        link->setActiveforecolor(ColorFromBgr(m_settings.LessonHoverColor));
        link->setAlignment(ActiveLink::AlignCenterCode);
        link->setLayoutDirection(Qt::RightToLeft);
        link->setAlwayshandcursor(true);
        link->hide();
    }

    m_Ht = first->height();
    m_Hl = m_c.ImageRef->height();

    setPictureIfLoaded(m_c.ImVline, LoadSkinPicture(imagesPath, QStringLiteral("VLine.jpg")));
    if (m_RTFP) {
        const double R = m_RTFP->x() + m_RTFP->width();
        const double M = m_c.MenuFrame->x();
        m_c.ImVline->move(RoundToCoordinate((M + R) / 2 - (M - R) / 4), m_c.ImVline->y());
    }

    const QColor back = ColorFromBgr(m_settings.MenuBackColor);
    for (QWidget *w : { m_c.MenuFrame, m_c.MenuIn }) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, back);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
    // The content is one pixel short of its frame, so no arrow shows at first;
    // a skin whose closed chapters alone overflow the frame still scrolls to them.
    SetMenuInTop(0);
    SetMenuInHeight(qMax(FrameHeight() - 1, N * m_Ht + BottomMargin));
    m_c.MenuIn->setFixedWidth(m_c.MenuFrame->width());

    for (ActiveLink *arrow : { m_c.MenuScrollUp, m_c.MenuScrollDown }) {
        arrow->setBackcolor(back);
        arrow->setAlwayshandcursor(true);
    }
    SetButtonPictures(
        m_c.MenuScrollUp, imagesPath, QStringLiteral("Menuscrollup.jpg"), QStringLiteral("MenuscrollupActive.jpg"));
    SetButtonPictures(m_c.MenuScrollDown, imagesPath, QStringLiteral("Menuscrolldown.jpg"),
        QStringLiteral("MenuscrolldownActive.jpg"));
    const QRect frame = m_c.MenuFrame->geometry();
    const int arrowLeft = RoundToCoordinate(frame.x() + (frame.width() - m_c.MenuScrollUp->width()) / 2.0);
    m_c.MenuScrollUp->move(arrowLeft, frame.y() - m_c.MenuScrollUp->height() - 3);
    m_c.MenuScrollDown->move(arrowLeft, frame.y() + frame.height() + 3);

    PlaceChapterItems();
    m_c.ImSlide->raise();
    UpdateScrollArrows();
    UpdateAccessibleStates();
    m_linksChapter = 0;
    ShowProgress();
}

void LessonMenu::ShowProgress()
{
    for (int c = 1; c <= MenuControls::ChapterItems; ++c) {
        for (int l = 1; l <= MenuControls::LessonLinks; ++l) {
            const bool shown = c <= ShownChapters() && l <= ShownLessons(c);
            m_progress[c][l] = shown && m_callouts.LessonProgress ? m_callouts.LessonProgress(c, l) : std::pair(0, 0);
        }
    }
    if (m_linksChapter != 0) {
        for (int k = 1; k <= ShownLessons(m_linksChapter); ++k)
            ShowLinkProgress(k);
    }
}

void LessonMenu::ShowLinkProgress(int k)
{
    const auto [practised, examples] = m_progress[m_linksChapter][k];
    // A lesson without examples has nothing to practise, and says nothing of it.
    const QString share
        = examples > 0 ? ArabicIndic(practised) + QStringLiteral(" من ") + ArabicIndic(examples) : QString();
    ActiveLink *link = m_c.Alink[k];
    link->setNote(share);
    link->setAccessibleDescription(share.isEmpty() ? share : QStringLiteral("تدربت على ") + share);
}

void LessonMenu::ExpandChapter(int a)
{
    const int N = ShownChapters();
    if (a < 1 || a > N)
        return;
    const int L = ShownLessons(a);
    const int steps = Steps();
    const int offset = m_settings.TitleTextOffset;
    OpeningChapter = qint16(a);

    for (int i = 1; i <= L; ++i) {
        ActiveLink *link = m_c.Alink[i];
        link->hide();
        m_linkTop[i] = m_top[a] + m_Ht + double(i - 1) * m_Hl;
        link->move(RoundToCoordinate(m_left), RoundToCoordinate(m_linkTop[i]));
        if (!m_subtitleBack.isNull())
            link->setPicture(m_subtitleBack);
        link->setCaption(m_catalogue.LessonTitle(a, i));
    }
    m_linksChapter = a;
    for (int i = 1; i <= L; ++i)
        ShowLinkProgress(i);

    const qint32 last = qint32(L + 1) * steps;
    for (qint32 S = 1; S <= last; ++S) {
        const double row = double(S) / steps;
        const int K = int(RoundHalfEven(row));
        int shown = 0;
        if (a < N) {
            if (K >= 1 && K <= L) {
                if (IsInteger(row)) {
                    m_c.Alink[K]->show();
                    shown = K;
                }
                for (int i = 1; i <= N - a; ++i) {
                    m_top[a + i] += double(m_Hl) / steps;
                    m_labelTop[a + i] += double(m_Hl) / steps;
                }
            } else if (K > L) {
                // Measured from the opened title's text, not its picture.
                for (int i = 1; i <= N - a; ++i) {
                    m_top[a + i] = m_labelTop[a] + double(i) * m_Ht + double(L) * m_Hl;
                    m_labelTop[a + i] = m_top[a + i] + offset;
                }
            }
        } else if (K <= L && IsInteger(row)) {
            m_c.Alink[K]->show();
            shown = K;
        }
        ReportStep(S, qint16(K), shown, 0, a);
    }
    PlaceChapterItems();

    SetMenuInHeight(N * m_Ht + L * m_Hl + BottomMargin);
    if (m_c.MenuIn->height() > FrameHeight()) {
        ScrollDirection = QStringLiteral("BOTTOM");
        m_c.MenuScrollTimer->setInterval(AutoScrollInterval);
        m_c.MenuScrollTimer->start();
    }
}

void LessonMenu::CollapseChapter(int p)
{
    const int N = ShownChapters();
    if (p < 1 || p > N)
        return;
    const int L = ShownLessons(p);
    const int steps = Steps();

    for (qint32 S = qint32(L) * steps; S >= 0; --S) {
        const double row = double(S) / steps;
        const int K = int(RoundHalfEven(row));
        int hidden = 0;
        if (p < N) {
            if (K > 0) {
                for (int i = 1; i <= N - p; ++i) {
                    m_top[p + i] -= double(m_Hl) / steps;
                    m_labelTop[p + i] -= double(m_Hl) / steps;
                }
                if (IsInteger(row)) {
                    m_c.Alink[K]->hide();
                    hidden = K;
                }
            } else {
                for (int i = 1; i <= N - p; ++i) {
                    m_top[p + i] = m_top[p] + double(i) * m_Ht;
                    m_labelTop[p + i] = m_labelTop[p] + double(i) * m_Ht;
                }
            }
        } else if (K > 0 && IsInteger(row)) {
            m_c.Alink[K]->hide();
            hidden = K;
        }
        ReportStep(S, qint16(K), 0, hidden, p);
    }
    PlaceChapterItems();

    SetMenuInHeight(qMax(N * m_Ht + BottomMargin, FrameHeight()));
    SetMenuInTop(0);
}

void LessonMenu::ReportStep(qint32 S, qint16 K, int shown, int hidden, int a)
{
    if (!StepObserver)
        return;
    Step step;
    step.S = S;
    step.K = K;
    step.shownLink = shown;
    step.hiddenLink = hidden;
    step.nextChapterTop = a < ShownChapters() ? m_top[a + 1] : 0;
    StepObserver(step);
}

void LessonMenu::PlaceChapterItems()
{
    for (int i = 1; i <= MenuControls::ChapterItems; ++i) {
        m_c.Imenu[i]->move(RoundToCoordinate(m_left), RoundToCoordinate(m_top[i]));
        m_c.ImenuL[i]->move(RoundToCoordinate(m_left), RoundToCoordinate(m_labelTop[i]));
    }
}

void LessonMenu::SetMenuInTop(int top)
{
    m_c.MenuIn->move(0, top);
}

void LessonMenu::SetMenuInHeight(int height)
{
    m_c.MenuIn->setFixedHeight(qBound(0, height, QWIDGETSIZE_MAX));
}

void LessonMenu::UpdateScrollArrows()
{
    const int top = m_c.MenuIn->y();
    m_c.MenuScrollUp->setVisible(top < 0);
    m_c.MenuScrollDown->setVisible(top + m_c.MenuIn->height() > FrameHeight());
}

void LessonMenu::ToggleChapter(int c)
{
    if (CurChapter != 0 && CurChapter != c) {
        CollapseChapter(CurChapter);
        ExpandChapter(c);
        CurChapter = qint16(c);
    } else if (CurChapter == c) {
        CollapseChapter(c);
        CurChapter = 0;
    } else {
        ExpandChapter(c);
        CurChapter = qint16(c);
    }
    UpdateAccessibleStates();
}

void LessonMenu::UpdateAccessibleStates()
{
    // Read from the menu's state rather than from the looks: a title keeps its
    // open picture while hovered, and a lost selection keeps its colour.
    for (int i = 1; i <= MenuControls::ChapterItems; ++i) {
        ActiveLink *title = m_c.ImenuL[i];
        title->setAccessibleFlag(ActiveLink::Expandable, i <= ShownChapters());
        title->setAccessibleFlag(ActiveLink::Expanded, i == CurChapter);
        // Screen readers hear a change of description as it happens, where the
        // desktop bridge does not pass the expanded state's change on.
        title->setAccessibleDescription(i > ShownChapters() ? QString()
                : i == CurChapter                           ? QStringLiteral("مفتوح")
                                                            : QStringLiteral("مغلق"));
    }
    for (int k = 1; k <= MenuControls::LessonLinks; ++k) {
        ActiveLink *link = m_c.Alink[k];
        link->setAccessibleFlag(ActiveLink::Selectable, CurChapter != 0 && k <= ShownLessons(CurChapter));
        link->setAccessibleFlag(ActiveLink::Selected, CurChapter != 0 && k == CurLesson);
    }
}

void LessonMenu::SetTitleLook(int c, TitleLook look)
{
    if (c < 1 || c > MenuControls::ChapterItems)
        return;
    const QPixmap &picture = look == TitleLook::Rest ? m_title
        : look == TitleLook::Hover                   ? m_titleOver
                                                     : m_titleSelected;
    const qint32 color = look == TitleLook::Rest ? m_settings.ChapterColor
        : look == TitleLook::Hover               ? m_settings.ChapterHoverColor
                                                 : m_settings.ChapterSelectedColor;
    // A missing picture leaves the one shown before.
    if (!picture.isNull())
        m_c.Imenu[c]->setPixmap(picture);
    m_c.ImenuL[c]->setForecolor(ColorFromBgr(color));
}

void LessonMenu::SetLinkLook(int k, LinkLook look)
{
    if (k < 1 || k > MenuControls::LessonLinks)
        return;
    ActiveLink *link = m_c.Alink[k];
    switch (look) {
    case LinkLook::LostByLessonClick:
        if (!m_subtitleBack.isNull())
            link->setPicture(m_subtitleBack);
        link->setAlignment(ActiveLink::AlignCenterCode);
        link->setForecolor(ColorFromBgr(LostSelectionColor));
        break;
    case LinkLook::SelectedByClick:
    case LinkLook::Reselected:
        if (!m_subtitleActive.isNull())
            link->setPicture(m_subtitleActive);
        link->setAlignment(ActiveLink::AlignLeftCode);
        link->setForecolor(
            ColorFromBgr(look == LinkLook::SelectedByClick ? m_settings.LessonSelectedColor : ReselectedColor));
        break;
    }
}

void LessonMenu::LoseSelection(int k)
{
    if (k < 1 || k > MenuControls::LessonLinks)
        return;
    m_c.Alink[k]->setAlignment(ActiveLink::AlignCenterCode);
    m_c.Alink[k]->setForecolor(ColorFromBgr(LostSelectionColor));
}

void LessonMenu::PlaceMarker(int k)
{
    if (k < 1 || k > MenuControls::LessonLinks)
        return;
    const double top = m_c.MenuFrame->y() + m_c.MenuIn->y() + m_linkTop[k] - (m_c.ImSlide->height() - m_Hl) / 2.0;
    m_c.ImSlide->move(m_c.ImVline->x(), RoundToCoordinate(top));
}

void LessonMenu::ChapterClick(int c)
{
    if (c < 1 || c > ShownChapters())
        return;
    m_c.ImSlide->hide();
    SetTitleLook(c, TitleLook::Open);
    if (CurChapter != 0 && CurChapter != c)
        SetTitleLook(CurChapter, TitleLook::Rest);
    if (CurChapter == c)
        SetTitleLook(c, TitleLook::Rest);
    if (CurLesson != 0) {
        LoseSelection(CurLesson);
        CurLesson = 0;
    }
    ToggleChapter(c);
    if (CurChapter == RememberedChapter && RememberedLesson != 0)
        ReselectLesson(RememberedLesson);
    UpdateScrollArrows();
}

void LessonMenu::ChapterMouseMove(int c)
{
    if (c < 1 || c > ShownChapters())
        return;
    if (c != CurChapter)
        SetTitleLook(c, TitleLook::Hover);
    if (HoverChapter != 0 && HoverChapter != c && HoverChapter != CurChapter)
        SetTitleLook(HoverChapter, TitleLook::Rest);
    HoverChapter = qint16(c);
}

void LessonMenu::BackgroundMouseMove()
{
    if (HoverChapter != 0 && HoverChapter != CurChapter) {
        SetTitleLook(HoverChapter, TitleLook::Rest);
        HoverChapter = 0;
    }
}

void LessonMenu::LessonMouseMove(int)
{
    if (HoverChapter != 0 && HoverChapter != CurChapter)
        SetTitleLook(HoverChapter, TitleLook::Rest);
}

void LessonMenu::LessonClick(int k)
{
    if (CurChapter == 0 || k < 1 || k > ShownLessons(CurChapter))
        return;
    if (k != CurLesson) {
        const qint16 previous = CurLesson;
        if (previous != 0)
            SetLinkLook(previous, LinkLook::LostByLessonClick);
        CurLesson = qint16(k);
        const OpenResult result = m_callouts.OpenLesson ? m_callouts.OpenLesson(CurChapter, k) : OpenResult::Opened;
        if (result != OpenResult::Opened) {
            // The page on show is still the previous lesson's: keep it selected, so
            // that the menu tells the truth and a second click tries again.
            CurLesson = previous;
            if (previous != 0)
                SetLinkLook(previous, LinkLook::SelectedByClick);
            UpdateAccessibleStates();
            if (result == OpenResult::FileInUse && m_callouts.ShowMessage)
                m_callouts.ShowMessage(FileInUseMessage);
            return;
        }
        SetLinkLook(k, LinkLook::SelectedByClick);
    }
    PlaceMarker(k);
    m_c.ImSlide->show();
    if (m_RTFP)
        m_settings.PageStep = qint16(qMin(m_RTFP->height(), 32767));
    RememberedChapter = CurChapter;
    RememberedLesson = CurLesson;
    UpdateAccessibleStates();
}

bool LessonMenu::SelectLesson(int c, int l)
{
    if (c < 1 || c > ShownChapters() || l < 1 || l > ShownLessons(c))
        return false;
    if (CurChapter != c)
        ChapterClick(c);
    LessonClick(l);
    return true;
}

std::optional<bool> LessonMenu::SelectLinkedLesson(int c, int l)
{
    if (!SelectLesson(c, l))
        return std::nullopt;
    return CurChapter == c && CurLesson == l;
}

void LessonMenu::ReselectLesson(int k)
{
    if (k < 1 || k > MenuControls::LessonLinks)
        return;
    SetLinkLook(k, LinkLook::Reselected);
    CurLesson = qint16(k);
    PlaceMarker(k);
    m_c.ImSlide->show();
    UpdateAccessibleStates();
}

void LessonMenu::ResetMenu()
{
    if (CurLesson != 0)
        LoseSelection(CurLesson);
    if (CurChapter != 0) {
        SetTitleLook(CurChapter, TitleLook::Rest);
        ToggleChapter(CurChapter);
        CurChapter = 0;
        CurLesson = 0;
    }
    // Forget the last lesson even when its chapter was already closed: the page
    // on show is no longer that lesson, and reopening the chapter must not mark
    // it as if it were (a click on it would then not open it).
    RememberedChapter = 0;
    RememberedLesson = 0;
    m_c.ImSlide->hide();
    UpdateScrollArrows();
    UpdateAccessibleStates();
    if (m_callouts.CloseExamplesPanel)
        m_callouts.CloseExamplesPanel();
}

bool LessonMenu::LinkFullyVisible(int k) const
{
    // No lesson means nothing to bring into view.
    if (k < 1 || k > MenuControls::LessonLinks)
        return true;
    const double t = m_linkTop[k];
    const double o = std::abs(m_c.MenuIn->y());
    return t >= o && t - o + m_Hl <= FrameHeight();
}

void LessonMenu::ScrollArrowPressed(const QString &direction)
{
    ScrollDirection = direction;
    m_c.MenuScrollTimer->setInterval(HeldScrollInterval);
    m_c.MenuScrollTimer->start();
}

void LessonMenu::ScrollArrowReleased()
{
    m_c.MenuScrollTimer->stop();
}

void LessonMenu::MenuScrollTick()
{
    const int step = m_settings.ScrollStep;
    const int top = m_c.MenuIn->y();
    const int height = m_c.MenuIn->height();
    const int frame = FrameHeight();
    const bool roomLeft = std::abs(height - frame) >= std::abs(top);

    if (ScrollDirection == QLatin1String("UP")) {
        if (top < 0)
            SetMenuInTop(top + step);
    } else if (ScrollDirection == QLatin1String("DOWN")) {
        // Content already flush with the frame's bottom has no room left: one more
        // step would lift the last link off the bottom edge.
        if (height > frame && std::abs(height - frame) > std::abs(top))
            SetMenuInTop(top - step);
    } else if (ScrollDirection == QLatin1String("BOTTOM")) {
        const int a = OpeningChapter;
        const int L = ShownLessons(CurChapter);
        const bool titleInView = a >= 1 && a <= MenuControls::ChapterItems && std::abs(top) <= m_top[a];
        // A step of 0 or less would never reach the target: stop instead of ticking on.
        const bool goOn = roomLeft && !LinkFullyVisible(L) && height > frame && titleInView && step > 0;
        if (goOn)
            SetMenuInTop(top - step);
        else
            m_c.MenuScrollTimer->stop();
    }

    if (CurLesson != 0) {
        PlaceMarker(CurLesson);
        m_c.ImSlide->setVisible(LinkFullyVisible(CurLesson));
    }
    UpdateScrollArrows();
    // A held arrow that has just hidden itself never sees its release: end the
    // hold here, or the timer would tick with no work until the next press.
    if ((ScrollDirection == QLatin1String("UP") && m_c.MenuScrollUp->isHidden())
        || (ScrollDirection == QLatin1String("DOWN") && m_c.MenuScrollDown->isHidden()))
        ScrollArrowReleased();
}

bool LessonMenu::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    if (watched == m_c.MenuIn || watched == m_c.MenuFrame) {
        if (type == QEvent::MouseMove)
            BackgroundMouseMove();
        return false;
    }
    for (int i = 1; i <= MenuControls::ChapterItems; ++i) {
        if (watched != m_c.Imenu[i])
            continue;
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseMove) {
            ChapterMouseMove(i);
        } else if (mouse->button() == Qt::LeftButton && type == QEvent::MouseButtonPress) {
            m_pressedChapter = i;
        } else if (mouse->button() == Qt::LeftButton) {
            const bool inside = m_c.Imenu[i]->rect().contains(mouse->position().toPoint());
            const bool click = m_pressedChapter == i && inside;
            m_pressedChapter = 0;
            if (click)
                ChapterClick(i);
        }
        return true;
    }
    return false;
}
