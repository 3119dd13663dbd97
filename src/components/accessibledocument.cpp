#include "accessibledocument.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

QAccessibleInterface *documentFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("QTextBrowser"))
        return nullptr;
    auto *browser = qobject_cast<QTextBrowser *>(object);
    if (!browser || !browser->isReadOnly())
        return nullptr;
    return new AccessibleDocument(browser);
}

// The page's characters as the screen reader reads them: the engine's paragraph,
// frame and table marks become line breaks, and there are as many as there are
// cursor positions, so offsets and cursor positions are the same numbers.
QString plainText(const QTextDocument *doc)
{
    return doc->toPlainText();
}

} // namespace

AccessibleDocument::AccessibleDocument(QTextBrowser *browser)
    : QAccessibleWidget(browser, QAccessible::Document)
{
}

void AccessibleDocument::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(documentFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QTextBrowser *AccessibleDocument::browser() const
{
    return static_cast<QTextBrowser *>(widget());
}

void *AccessibleDocument::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString AccessibleDocument::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name) {
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        return browser()->documentTitle();
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State AccessibleDocument::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.focusable = true;
    s.selectableText = true;
    return s;
}

void AccessibleDocument::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = browser()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int AccessibleDocument::selectionCount() const
{
    return browser()->textCursor().hasSelection() ? 1 : 0;
}

void AccessibleDocument::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleDocument::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = browser()->textCursor();
    cursor.clearSelection();
    browser()->setTextCursor(cursor);
}

void AccessibleDocument::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const int count = characterCount();
    QTextCursor cursor = browser()->textCursor();
    cursor.setPosition(qBound(0, startOffset, count));
    cursor.setPosition(qBound(0, endOffset, count), QTextCursor::KeepAnchor);
    browser()->setTextCursor(cursor);
}

int AccessibleDocument::cursorPosition() const
{
    return browser()->textCursor().position();
}

void AccessibleDocument::setCursorPosition(int position)
{
    QTextCursor cursor = browser()->textCursor();
    cursor.setPosition(qBound(0, position, characterCount()));
    browser()->setTextCursor(cursor);
}

QString AccessibleDocument::text(int startOffset, int endOffset) const
{
    const QString all = plainText(browser()->document());
    startOffset = qBound(0, startOffset, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : qBound(startOffset, endOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int AccessibleDocument::characterCount() const
{
    // The document counts the paragraph mark that closes it, which has no text.
    return qMax(0, browser()->document()->characterCount() - 1);
}

bool AccessibleDocument::lineAt(int offset, int *start, int *end) const
{
    const QTextBlock block = browser()->document()->findBlock(offset);
    if (!block.isValid())
        return false;
    const QTextLayout *layout = block.layout();
    const int inBlock = offset - block.position();
    if (!layout || layout->lineCount() == 0) {
        *start = block.position();
        *end = block.position() + block.length();
        return true;
    }
    const QTextLine line = layout->lineForTextPosition(qMin(inBlock, qMax(0, block.length() - 1)));
    if (!line.isValid())
        return false;
    *start = block.position() + line.textStart();
    *end = block.position() + line.textStart() + line.textLength();
    // The last line of a paragraph carries its break, so that reading line after
    // line steps from one paragraph to the next.
    if (line.lineNumber() == layout->lineCount() - 1)
        *end = block.position() + block.length();
    *end = qMin(*end, characterCount());
    return true;
}

QString AccessibleDocument::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary) {
        if (offset == -2)
            offset = cursorPosition();
        int start = 0;
        int end = 0;
        if (offset >= 0 && offset <= characterCount() && lineAt(offset, &start, &end)) {
            *startOffset = start;
            *endOffset = end;
            return text(start, end);
        }
        *startOffset = *endOffset = -1;
        return {};
    }
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
}

QString AccessibleDocument::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary) {
        if (offset == -2)
            offset = cursorPosition();
        int start = 0;
        int end = 0;
        if (lineAt(offset, &start, &end) && start > 0)
            return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
        *startOffset = *endOffset = -1;
        return {};
    }
    return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
}

QString AccessibleDocument::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary) {
        if (offset == -2)
            offset = cursorPosition();
        int start = 0;
        int end = 0;
        if (lineAt(offset, &start, &end) && end < characterCount())
            return textAtOffset(end, boundaryType, startOffset, endOffset);
        *startOffset = *endOffset = -1;
        return {};
    }
    return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
}

QRect AccessibleDocument::characterRect(int offset) const
{
    QTextCursor cursor(browser()->document());
    cursor.setPosition(qBound(0, offset, characterCount()));
    QRect r = browser()->cursorRect(cursor);
    cursor.movePosition(QTextCursor::NextCharacter);
    r = r.united(browser()->cursorRect(cursor));
    return QRect(browser()->viewport()->mapToGlobal(r.topLeft()), r.size());
}

int AccessibleDocument::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = browser()->viewport()->mapFromGlobal(point);
    if (!browser()->viewport()->rect().contains(local))
        return -1;
    return browser()->cursorForPosition(local).position();
}

void AccessibleDocument::scrollToSubstring(int startIndex, int endIndex)
{
    setSelection(0, startIndex, endIndex);
    browser()->ensureCursorVisible();
}

QString AccessibleDocument::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    const QTextBlock block = browser()->document()->findBlock(offset);
    if (!block.isValid())
        return {};
    QString out;
    const int level = block.blockFormat().headingLevel();
    if (level > 0) {
        *startOffset = block.position();
        *endOffset = block.position() + block.length() - 1;
        out += QStringLiteral("heading-level:%1;").arg(level);
    }
    // The fragment under offset tells whether it is a link.
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.contains(offset))
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.isAnchor() && !format.anchorHref().isEmpty()) {
            *startOffset = fragment.position();
            *endOffset = fragment.position() + fragment.length();
            // The target stays out: its colons and semicolons would break the list.
            out += QStringLiteral("link:true;");
        }
        break;
    }
    return out;
}
