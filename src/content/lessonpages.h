// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "content/pagecontrols.h"
#include "content/pageopenresult.h"
#include "content/pageposition.h"

#include <QCursor>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class Catalogue;
class DocumentScrollBar;
class DocumentView;

// What the main pane shows for a lesson: an ordinary lesson's page, or an
// index lesson's title frame with its entry links, each opening a sub-page under
// a title bar that leads back to the list. It keeps the position of the page on
// show, from which the examples and the recordings are named.
class LessonPages final : public QObject
{
    Q_OBJECT
public:
    // What the page logic asks of the rest of the window.
    struct Callouts
    {
        std::function<void()> LayoutDocumentPane;
        // n != 0: buttons 1..n, the panel open, example 1 chosen; n = 0: no
        // buttons and the panel shut.
        std::function<void(int n)> SetupExampleButtons;
        std::function<void()> LayoutExamplesPanel;
        std::function<void(const QString &text)> ShowMessage;
    };

    // A lesson page's place in the course, read from its file name.
    struct PageName
    {
        int chapter = 0;
        int lesson = 0;
        int entry = 0; // 0 for a lesson's own page
    };

    static inline const QString IndexPrefix = QStringLiteral("فهرس ");

    LessonPages(const PageControls &controls, DocumentView *RTF, QWidget *RTFP, QWidget *FrameBar,
        DocumentScrollBar &scrollBar, const Catalogue &catalogue, Callouts callouts, QObject *parent = nullptr);

    // The folders of pages and skin; NoFilePage follows from the first.
    void SetPaths(const QString &htmlDir, const QString &imagesPath);
    void LoadSkin();

    PageOpenResult OpenLesson(int c, int l);
    void ShowIndex();
    PageOpenResult OpenEntry(int i);
    // The title bar over an entry's sub-page, back to the list.
    void BabTitleClick();
    // Another page than a lesson's takes the pane (the start page, about, help):
    // the pane is laid out for it, no lesson is open any more and no examples show.
    void LeaveLesson();
    void LinkMouseMove(int i);
    void FrameMouseMove();

    const PagePosition &Position() const { return m_position; }
    QString NoFilePage() const { return m_noFilePage; }

    // "Ch" c "-" l ".htm", or "Ch" c "-" l "-" k ".htm" for entry k.
    static QString PageFileName(int c, int l, int k = 0);
    // The lesson or entry a page file of the course is, if it is one.
    std::optional<PageName> LessonOfPage(const QString &path) const;
    // A link inside a page to a lesson's page goes the menu's road, so that
    // the menu, the open page's position and the examples follow the page
    // shown. selectInMenu selects the lesson in the menu: none when the menu
    // does not have it, false when it could not open it (and has said so).
    // False when the link is no lesson's page, for the page view to follow.
    bool FollowPageLink(const QString &path, const std::function<std::optional<bool>(int c, int l)> &selectInMenu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows path, or the missing-page page; FileInUse when it exists unreadable.
    PageOpenResult ShowPage(const QString &path);
    static bool Unreadable(const QString &path);
    void ClearExamples();

    PageControls m_c;
    DocumentView *m_RTF;
    QWidget *m_RTFP;
    QWidget *m_FrameBar;
    DocumentScrollBar &m_scrollBar;
    const Catalogue &m_catalogue;
    Callouts m_callouts;
    QString m_htmlDir;
    QString m_imagesPath;
    QString m_noFilePage;
    QCursor m_hand;
    bool m_indexBackLoaded = false;
    PagePosition m_position;
};
