// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pageopenresult.h"
#include "menu/menucontrols.h"

#include <QObject>
#include <QPixmap>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <utility>

class Catalogue;
struct Settings;

// The side menu of chapters and lessons: its build from the catalogue and the
// skin, opening and closing a chapter, hover and selection looks, the marker
// beside the selected lesson, and scrolling the content inside its frame.
//
// Positions of the titles and links are kept in double: a step of a lesson row
// divided by the step count is often a fraction of a pixel, and the controls are
// placed from these values, rounded, once the operation is over.
class LessonMenu final : public QObject
{
    Q_OBJECT
public:
    static constexpr int BottomMargin = 10;
    static constexpr int HeldScrollInterval = 100;
    static constexpr int AutoScrollInterval = 20;

    using OpenResult = PageOpenResult;

    // What the menu asks of the rest of the window.
    struct Callouts
    {
        std::function<OpenResult(int chapter, int lesson)> OpenLesson;
        // Sets the window's message and shows the message dialog.
        std::function<void(const QString &text)> ShowMessage;
        std::function<void()> CloseExamplesPanel;
        // How many of a lesson's examples the learner has practised, of how many.
        std::function<std::pair<int, int>(int chapter, int lesson)> LessonProgress;
    };

    // One pass of the expand or collapse loop, for whoever follows the animation.
    struct Step
    {
        qint32 S = 0;
        qint16 K = 0;
        int shownLink = 0; // 0 when no link appeared at this step
        int hiddenLink = 0;
        double nextChapterTop = 0; // Imenu(a + 1).Top after the step; 0 for the last chapter
    };
    std::function<void(const Step &)> StepObserver;

    LessonMenu(const MenuControls &controls, Settings &settings, const Catalogue &catalogue, QWidget *RTFP,
        Callouts callouts, QObject *parent = nullptr);

    void BuildMenu(const QString &imagesPath);
    void ExpandChapter(int a);
    void CollapseChapter(int p);
    void UpdateScrollArrows();
    void ToggleChapter(int c);
    void ReselectLesson(int k);
    void ResetMenu();
    bool LinkFullyVisible(int k) const;
    // Reads every lesson's share of examples practised again and shows it on
    // the links; when the menu is built and after each saved take.
    void ShowProgress();

    // Event handlers of the menu's controls (also reachable by a screen reader's press).
    void ChapterClick(int c);
    void ChapterMouseMove(int c);
    // Over the menu content or the window's background.
    void BackgroundMouseMove();
    void LessonMouseMove(int k);
    void LessonClick(int k);
    // Lesson l of chapter c chosen from elsewhere (a link inside a page): the
    // chapter opens when it is not the open one, then the lesson is clicked.
    // False when the menu has no such lesson.
    bool SelectLesson(int c, int l);
    // For a link to lesson l of chapter c: none when the menu does not show
    // it, else whether it is now the selected lesson (false: it could not be
    // opened, and the menu has said so).
    std::optional<bool> SelectLinkedLesson(int c, int l);
    void ScrollArrowPressed(const QString &direction);
    void ScrollArrowReleased();
    void MenuScrollTick();

    // Number of chapters and links the menu shows (the rest has no control).
    int ShownChapters() const;
    int ShownLessons(int c) const;

    double ChapterTop(int i) const { return m_top.at(i); }
    double ChapterLabelTop(int i) const { return m_labelTop.at(i); }
    double LinkTop(int k) const { return m_linkTop.at(k); }
    int TitleHeight() const { return m_Ht; }
    int LinkHeight() const { return m_Hl; }
    const MenuControls &Controls() const { return m_c; }

    // Menu state read by the page, examples and recorder logic.
    qint16 CurChapter = 0;
    qint16 CurLesson = 0;
    qint16 HoverChapter = 0;
    qint16 OpeningChapter = 0;
    qint16 RememberedChapter = 0;
    qint16 RememberedLesson = 0;
    // "UP", "DOWN" or "BOTTOM": what the scroll timer does on its next tick. The
    // menu keeps its own: the document's scroll buttons have a timer of their own,
    // and sharing the word would set the menu scrolling when the page is scrolled.
    QString ScrollDirection;

    static inline const QString FileInUseMessage = PageFileInUseMessage;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class TitleLook { Rest, Hover, Open };
    enum class LinkLook { LostByLessonClick, SelectedByClick, Reselected };

    int Steps() const;
    // What a screen reader hears of the titles (open or closed) and the links
    // (the chosen lesson).
    void UpdateAccessibleStates();
    void SetTitleLook(int c, TitleLook look);
    void SetLinkLook(int k, LinkLook look);
    void LoseSelection(int k);
    void PlaceMarker(int k);
    void PlaceChapterItems();
    void PlaceLinks(int a);
    void SetMenuInTop(int top);
    void SetMenuInHeight(int height);
    int FrameHeight() const;
    void ReportStep(qint32 S, qint16 K, int shown, int hidden, int a);
    void ShowLinkProgress(int k);

    MenuControls m_c;
    Settings &m_settings;
    const Catalogue &m_catalogue;
    QWidget *m_RTFP;
    Callouts m_callouts;

    QPixmap m_title;
    QPixmap m_titleOver;
    QPixmap m_titleSelected;
    QPixmap m_subtitleBack;
    QPixmap m_subtitleActive;

    int m_Ht = 0;
    int m_Hl = 0;
    double m_left = 0;
    double m_vlineLeft = 0;
    std::array<double, MenuControls::ChapterItems + 1> m_top {};
    std::array<double, MenuControls::ChapterItems + 1> m_labelTop {};
    std::array<double, MenuControls::LessonLinks + 1> m_linkTop {};
    int m_pressedChapter = 0;
    // The chapter whose lessons the links show, and each lesson's share
    // practised: practised, examples.
    int m_linksChapter = 0;
    std::array<std::array<std::pair<int, int>, MenuControls::LessonLinks + 1>, MenuControls::ChapterItems + 1>
        m_progress {};
};
