// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleWidget>
#include <QList>
#include <memory>

class PageElement;
class QTextBrowser;

// The lesson page as a screen reader's document: its whole text through the
// text interface, a caret that the keyboard moves, lines and words as they are
// laid out, and headings and links told apart by their text attributes. Qt
// would show a read-only browser as a plain text field.
// The page's headings, links, tables and their cells are its children as well:
// Qt's bridge forwards neither hypertext nor object attributes, so a screen
// reader that walks a document for them finds them only as objects of their own.
class AccessibleDocument final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleDocument(QTextBrowser *browser);
    ~AccessibleDocument() override;

    // Makes every read-only QTextBrowser of the program a document.
    static void Install();

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const override;
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const override;
    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    friend class PageElement;

    QTextBrowser *browser() const;
    // The page's headings, links and tables, found anew after the page changed.
    const QList<PageElement *> &elements() const;
    void dropElements(bool tell) const;
    // Where the characters of [start, end) are drawn, in screen pixels.
    QRect rangeRect(int start, int end) const;

    // The laid-out line around offset, as [start, end).
    bool lineAt(int offset, int *start, int *end) const;
    QString lineNear(int offset, int step, int *startOffset, int *endOffset) const;

    mutable QList<PageElement *> m_elements;
    mutable QList<QAccessible::Id> m_ids; // every element's, cells and their links too
    mutable bool m_stale = true;
    bool m_announcing = false;
    std::unique_ptr<QObject> m_watch;
};
