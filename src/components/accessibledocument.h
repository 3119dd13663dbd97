#pragma once

#include <QAccessibleWidget>

class QTextBrowser;

// The lesson page as a screen reader's document: its whole text through the
// text interface, a caret that the keyboard moves, lines and words as they are
// laid out, and headings and links told apart by their text attributes. Qt
// would show a read-only browser as a plain text field.
class AccessibleDocument final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleDocument(QTextBrowser *browser);

    // Makes every read-only QTextBrowser of the program a document.
    static void Install();

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

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
    QTextBrowser *browser() const;
    // The laid-out line around offset, as [start, end).
    bool lineAt(int offset, int *start, int *end) const;
};
