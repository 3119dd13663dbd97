// SPDX-License-Identifier: GPL-3.0-or-later

#include "pageview/accessibledocument.h"

#include "base/numbers.h"
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMap>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QTimer>

#include <algorithm>
#include <functional>

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

// What a stretch of the page reads as: line and paragraph breaks and pictures'
// placeholders are not words.
QString spokenText(const QTextDocument *doc, int start, int end)
{
    // An element asked for before it is found anew may point past a shorter page.
    const int last = qMax(0, doc->characterCount() - 1);
    QTextCursor cursor(const_cast<QTextDocument *>(doc));
    cursor.setPosition(qBound(0, start, last));
    cursor.setPosition(qBound(0, end, last), QTextCursor::KeepAnchor);
    return cursor.selectedText().remove(QChar::ObjectReplacementCharacter).simplified();
}

} // namespace

// Qt 6.8's bridge passes a heading's level on as the object attribute that
// screen readers read it from; before 6.8 it leaves attributes empty.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#define RATTIL_ACCESSIBLE_ATTRIBUTES 1
#endif

// A heading, link, table or table cell of the page. It lives in Qt's cache of
// accessible objects, owned by the page's document, and is rebuilt with the page.
class PageElement final : public QAccessibleInterface,
                          public QAccessibleActionInterface,
                          public QAccessibleTableInterface,
#ifdef RATTIL_ACCESSIBLE_ATTRIBUTES
                          public QAccessibleAttributesInterface,
#endif
                          public QAccessibleTableCellInterface
{
public:
    PageElement(const AccessibleDocument *doc, PageElement *parent, QAccessible::Role role, int start, int end)
        : m_doc(doc)
        , m_parent(parent)
        , m_role(role)
        , m_start(start)
        , m_end(end)
    {
    }

    const AccessibleDocument *m_doc;
    PageElement *m_parent;
    QAccessible::Role m_role;
    int m_start;
    int m_end;
    int m_level = 0;
    int m_row = 0;
    int m_column = 0;
    int m_rowSpan = 1;
    int m_columnSpan = 1;
    int m_rows = 0;
    int m_columns = 0;
    QList<PageElement *> m_children;

    QTextBrowser *browser() const { return m_doc->browser(); }

    bool isValid() const override { return browser() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_doc->window(); }
    QAccessible::Role role() const override { return m_role; }

    QAccessibleInterface *parent() const override
    {
        if (m_parent)
            return m_parent;
        return const_cast<AccessibleDocument *>(m_doc);
    }
    int childCount() const override { return int(m_children.size()); }
    QAccessibleInterface *child(int index) const override { return m_children.value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < m_children.size(); ++i) {
            if (m_children.at(i) == child)
                return i;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (PageElement *child : m_children) {
            if (child->rect().contains(x, y))
                return child;
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && m_role != QAccessible::Table)
            return spokenText(browser()->document(), m_start, m_end);
#ifndef RATTIL_ACCESSIBLE_ATTRIBUTES
        // Without object attributes the level a heading's attributes would
        // carry is said in its description.
        if (t == QAccessible::Description && m_level > 0)
            return QStringLiteral("المستوى %1").arg(ArabicIndic(m_level));
#endif
        return {};
    }

#ifdef RATTIL_ACCESSIBLE_ATTRIBUTES
    QList<QAccessible::Attribute> attributeKeys() const override
    {
        if (m_level > 0)
            return { QAccessible::Attribute::Level };
        return {};
    }
    QVariant attributeValue(QAccessible::Attribute key) const override
    {
        if (key == QAccessible::Attribute::Level && m_level > 0)
            return m_level;
        return {};
    }
#endif
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (m_role == QAccessible::Table) {
            QRect r;
            for (const PageElement *cell : m_children)
                r = r.united(cell->rect());
            return r;
        }
        return m_doc->rangeRect(m_start, m_end);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.readOnly = true;
        s.linked = m_role == QAccessible::Link;
        if (!browser()->isVisible()) {
            s.invisible = true;
        } else {
            const QRect view(browser()->viewport()->mapToGlobal(QPoint(0, 0)), browser()->viewport()->size());
            s.offscreen = !view.intersects(rect());
        }
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        if (t == QAccessible::TableInterface && m_role == QAccessible::Table)
            return static_cast<QAccessibleTableInterface *>(this);
        if (t == QAccessible::TableCellInterface && m_role == QAccessible::Cell)
            return static_cast<QAccessibleTableCellInterface *>(this);
#ifdef RATTIL_ACCESSIBLE_ATTRIBUTES
        if (t == QAccessible::AttributesInterface)
            return static_cast<QAccessibleAttributesInterface *>(this);
#endif
        return nullptr;
    }

    // Going to an element puts the page's caret at its start, in view, so that
    // reading on from there with the arrow keys starts where the reader is.
    QStringList actionNames() const override
    {
        if (m_role == QAccessible::Link)
            return { pressAction(), setFocusAction() };
        return { setFocusAction() };
    }
    QStringList keyBindingsForAction(const QString &) const override
    {
        return {};
    }
    void doAction(const QString &name) override
    {
        QTextBrowser *page = browser();
        const int last = m_doc->characterCount();
        if (m_start > last || m_end > last)
            return; // the page has changed under it
        if (name == setFocusAction()) {
            QTextCursor cursor = page->textCursor();
            cursor.setPosition(m_start);
            page->setTextCursor(cursor);
            page->ensureCursorVisible();
            page->setFocus(Qt::OtherFocusReason);
        } else if (name == pressAction() && m_role == QAccessible::Link) {
            // The link chosen and Enter pressed: the browser's own way of
            // following a link from the keyboard, the same road as a click.
            QTextCursor cursor = page->textCursor();
            cursor.setPosition(m_start);
            cursor.setPosition(m_end, QTextCursor::KeepAnchor);
            page->setTextCursor(cursor);
            page->ensureCursorVisible();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(page, &enter);
        }
    }

    // QAccessibleTableInterface: a table of the page, read cell by cell.
    QAccessibleInterface *caption() const override
    {
        return nullptr;
    }
    QAccessibleInterface *summary() const override
    {
        return nullptr;
    }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        for (PageElement *cell : m_children) {
            if (row >= cell->m_row && row < cell->m_row + cell->m_rowSpan && column >= cell->m_column
                && column < cell->m_column + cell->m_columnSpan)
                return cell;
        }
        return nullptr;
    }
    int selectedCellCount() const override
    {
        return 0;
    }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        return {};
    }
    QString columnDescription(int) const override
    {
        return {};
    }
    QString rowDescription(int) const override
    {
        return {};
    }
    int selectedColumnCount() const override
    {
        return 0;
    }
    int selectedRowCount() const override
    {
        return 0;
    }
    int columnCount() const override
    {
        return m_columns;
    }
    int rowCount() const override
    {
        return m_rows;
    }
    QList<int> selectedColumns() const override
    {
        return {};
    }
    QList<int> selectedRows() const override
    {
        return {};
    }
    bool isColumnSelected(int) const override
    {
        return false;
    }
    bool isRowSelected(int) const override
    {
        return false;
    }
    bool selectRow(int) override
    {
        return false;
    }
    bool selectColumn(int) override
    {
        return false;
    }
    bool unselectRow(int) override
    {
        return false;
    }
    bool unselectColumn(int) override
    {
        return false;
    }
    void modelChange(QAccessibleTableModelChangeEvent *) override { }

    // QAccessibleTableCellInterface
    bool isSelected() const override
    {
        return false;
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        return {};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        return {};
    }
    int columnIndex() const override
    {
        return m_column;
    }
    int rowIndex() const override
    {
        return m_row;
    }
    int columnExtent() const override
    {
        return m_columnSpan;
    }
    int rowExtent() const override
    {
        return m_rowSpan;
    }
    QAccessibleInterface *table() const override
    {
        return m_parent;
    }
};

namespace {

using Elements = QList<PageElement *>;

qreal pointSize(const QTextCharFormat &format)
{
    return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : format.font().pointSizeF();
}

// The size a paragraph is set in when it reads as a title: all of it bold, and
// larger than the page's running text. Course pages are written with styled
// paragraphs rather than heading tags. A line of single letters shown large (the
// letters of a rule) has no word of two letters and is no title. 0 otherwise.
qreal titleSize(const QTextBlock &block, qreal bodySize)
{
    qreal size = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.text().trimmed().isEmpty())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.fontWeight() < QFont::DemiBold)
            return 0;
        const qreal here = pointSize(format);
        if (size > 0 && !qFuzzyCompare(size, here))
            return 0;
        size = here;
    }
    if (size <= bodySize * 1.05)
        return 0;
    const QStringList words
        = block.text().split(QRegularExpression(QStringLiteral("[\\s\\x{00a0}]+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        if (word.size() >= 2)
            return size;
    }
    return 0;
}

// What the page's headings are found from: its real heading levels, and the
// sizes of its styled titles, largest first, which give theirs.
struct Page
{
    const AccessibleDocument *doc = nullptr;
    qreal bodySize = 0;
    QList<qreal> titleSizes;

    int level(const QTextBlock &block) const
    {
        const int tagged = block.blockFormat().headingLevel();
        if (tagged > 0)
            return tagged;
        const qreal size = titleSize(block, bodySize);
        if (size <= 0)
            return 0;
        return qMin(6, int(titleSizes.indexOf(size)) + 1);
    }
};

Page readPage(const AccessibleDocument *doc, const QTextDocument *text)
{
    Page page;
    page.doc = doc;
    // The running text's size is the one most characters are set in.
    QMap<qreal, int> characters;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            characters[pointSize(it.fragment().charFormat())] += it.fragment().length();
    }
    int most = 0;
    for (auto it = characters.cbegin(); it != characters.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            page.bodySize = it.key();
        }
    }
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        // Tagged headings carry their own levels and rank no styled title.
        if (block.blockFormat().headingLevel() > 0)
            continue;
        const qreal size = titleSize(block, page.bodySize);
        if (size > 0 && !page.titleSizes.contains(size))
            page.titleSizes.append(size);
    }
    std::sort(page.titleSizes.begin(), page.titleSizes.end(), std::greater<qreal>());
    return page;
}

PageElement *add(
    const AccessibleDocument *doc, PageElement *parent, Elements *into, QAccessible::Role role, int start, int end)
{
    auto *element = new PageElement(doc, parent, role, start, end);
    QAccessible::registerAccessibleInterface(element);
    into->append(element);
    return element;
}

void collect(const Page &page, QTextFrame::iterator it, PageElement *parent, Elements *into);

void collectBlock(const Page &page, const QTextBlock &block, PageElement *parent, Elements *into)
{
    const AccessibleDocument *doc = page.doc;
    const int level = page.level(block);
    if (level > 0 && !block.text().trimmed().isEmpty())
        add(doc, parent, into, QAccessible::Heading, block.position(), block.position() + block.length() - 1)->m_level
            = level;
    // A link split into fragments by a change of colour or font is still one link.
    int start = -1;
    int end = -1;
    QString href;
    auto flush = [&] {
        if (start >= 0 && !spokenText(block.document(), start, end).isEmpty())
            add(doc, parent, into, QAccessible::Link, start, end);
        start = -1;
    };
    for (auto fit = block.begin(); !fit.atEnd(); ++fit) {
        const QTextFragment fragment = fit.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const QString target = format.isAnchor() ? format.anchorHref() : QString();
        if (target.isEmpty() || target != href || fragment.position() != end)
            flush();
        href = target;
        if (target.isEmpty())
            continue;
        if (start < 0)
            start = fragment.position();
        end = fragment.position() + fragment.length();
    }
    flush();
}

void collectTable(const Page &page, QTextTable *table, PageElement *parent, Elements *into)
{
    const AccessibleDocument *doc = page.doc;
    const int start = table->firstPosition();
    PageElement *element = add(doc, parent, into, QAccessible::Table, start, table->lastPosition());
    element->m_rows = table->rows();
    element->m_columns = table->columns();
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            // A merged cell is one cell, met at its first row and column.
            if (!cell.isValid() || cell.row() != row || cell.column() != column)
                continue;
            PageElement *item
                = add(doc, element, &element->m_children, QAccessible::Cell, cell.firstPosition(), cell.lastPosition());
            item->m_row = row;
            item->m_column = column;
            item->m_rowSpan = cell.rowSpan();
            item->m_columnSpan = cell.columnSpan();
            collect(page, cell.begin(), item, &item->m_children);
        }
    }
}

void collect(const Page &page, QTextFrame::iterator it, PageElement *parent, Elements *into)
{
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame))
                collectTable(page, table, parent, into);
            else
                collect(page, frame->begin(), parent, into);
        } else {
            collectBlock(page, it.currentBlock(), parent, into);
        }
    }
}

void listIds(const Elements &elements, QList<QAccessible::Id> *ids)
{
    for (PageElement *element : elements) {
        ids->append(QAccessible::uniqueId(element));
        listIds(element->m_children, ids);
    }
}

} // namespace

AccessibleDocument::AccessibleDocument(QTextBrowser *browser)
    : QAccessibleWidget(browser, QAccessible::Document)
    , m_watch(std::make_unique<QObject>())
{
    // The page is read again once it has settled after a change (a page loads in
    // several edits), and a screen reader hears of the new elements.
    QObject::connect(browser->document(), &QTextDocument::contentsChanged, m_watch.get(), [this] {
        m_stale = true;
        // Without a screen reader nobody asks: the elements wait until one does.
        if (m_announcing || !QAccessible::isActive())
            return;
        m_announcing = true;
        QTimer::singleShot(0, m_watch.get(), [this] {
            m_announcing = false;
            for (PageElement *element : elements()) {
                QAccessibleEvent created(element, QAccessible::ObjectCreated);
                QAccessible::updateAccessibility(&created);
            }
        });
    });
}

AccessibleDocument::~AccessibleDocument()
{
    // After the program has ended, Qt's cache of accessible objects deletes the
    // elements itself, in an order of its own.
    if (QCoreApplication::instance())
        dropElements(false);
}

void AccessibleDocument::dropElements(bool tell) const
{
    const Elements top = std::exchange(m_elements, {});
    const QList<QAccessible::Id> ids = std::exchange(m_ids, {});
    // A screen reader that kept the old page's elements learns they are gone.
    for (PageElement *element : top) {
        if (!tell)
            break;
        QAccessibleEvent gone(element, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&gone);
    }
    for (QAccessible::Id id : ids) {
        if (QAccessible::accessibleInterface(id))
            QAccessible::deleteAccessibleInterface(id);
    }
}

const QList<PageElement *> &AccessibleDocument::elements() const
{
    if (m_stale && browser()) {
        m_stale = false;
        dropElements(true);
        const QTextDocument *text = browser()->document();
        collect(readPage(this, text), text->rootFrame()->begin(), nullptr, &m_elements);
        listIds(m_elements, &m_ids);
    }
    return m_elements;
}

int AccessibleDocument::childCount() const
{
    return QAccessibleWidget::childCount() + int(elements().size());
}

QAccessibleInterface *AccessibleDocument::child(int index) const
{
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets)
        return QAccessibleWidget::child(index);
    return elements().value(index - widgets);
}

int AccessibleDocument::indexOfChild(const QAccessibleInterface *child) const
{
    const Elements &all = elements();
    for (int at = 0; at < all.size(); ++at) {
        if (static_cast<const QAccessibleInterface *>(all.at(at)) == child)
            return QAccessibleWidget::childCount() + at;
    }
    return QAccessibleWidget::indexOfChild(child);
}

QRect AccessibleDocument::rangeRect(int start, int end) const
{
    QTextBrowser *page = browser();
    start = qBound(0, start, characterCount());
    end = qBound(start, end, characterCount());
    // The caret's places where the stretch starts and ends on each of its
    // laid-out lines: a wrapped line, either direction of writing, all covered
    // without measuring every character (a screen reader asks often).
    QTextCursor cursor(page->document());
    QRect r;
    auto take = [&](int at) {
        cursor.setPosition(at);
        r = r.united(page->cursorRect(cursor));
    };
    for (QTextBlock block = page->document()->findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout || layout->lineCount() == 0) {
            take(qBound(start, block.position(), end));
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int from = block.position() + line.textStart();
            const int to = from + line.textLength();
            if (to < start || from > end)
                continue;
            take(qMax(from, start));
            take(qMin(to, end));
        }
    }
    return QRect(page->viewport()->mapToGlobal(r.topLeft()), r.size());
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

// The line holding offset (step 0), or the one before (-1) or after (+1) it;
// offsets of -1 and an empty text when there is none.
QString AccessibleDocument::lineNear(int offset, int step, int *startOffset, int *endOffset) const
{
    if (offset == -2)
        offset = cursorPosition();
    int start = 0;
    int end = 0;
    if (offset >= 0 && offset <= characterCount() && lineAt(offset, &start, &end)) {
        if (step == 0) {
            *startOffset = start;
            *endOffset = end;
            return text(start, end);
        }
        if (step < 0 && start > 0)
            return lineNear(start - 1, 0, startOffset, endOffset);
        if (step > 0 && end < characterCount())
            return lineNear(end, 0, startOffset, endOffset);
    }
    *startOffset = *endOffset = -1;
    return {};
}

QString AccessibleDocument::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary)
        return lineNear(offset, 0, startOffset, endOffset);
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
}

QString AccessibleDocument::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary)
        return lineNear(offset, -1, startOffset, endOffset);
    return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
}

QString AccessibleDocument::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary)
        return lineNear(offset, 1, startOffset, endOffset);
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
