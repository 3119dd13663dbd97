// SPDX-License-Identifier: GPL-3.0-or-later

#include "pageview/textbrowserview.h"

#include "base/codepage.h"

#include "pageview/accessibledocument.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QUrl>
#include <cctype>

#include <vector>

namespace {

// Gives the view its margins from outside: the page must keep clear of the
// strips that the pane hides.
//
// Its caret shows only for a reader who moves through the page by keyboard:
// the view holds the window's focus from the start (the window's buttons take
// none from a click), and a caret blinking beside every lesson's title is noise
// to a learner who reads with the mouse.
class Browser final : public QTextBrowser
{
public:
    explicit Browser(QWidget *parent)
        : QTextBrowser(parent)
    {
        setCursorWidth(0);
    }
    using QTextBrowser::setViewportMargins;

    // The view finds an anchor by the caret's box there, and a hidden caret's
    // box has no width: it counts as no place at all.
    void ScrollTo(const QString &anchor)
    {
        const bool hidden = cursorWidth() == 0;
        if (hidden)
            setCursorWidth(1);
        scrollToAnchor(anchor);
        if (hidden)
            setCursorWidth(0);
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        const Qt::FocusReason reason = event->reason();
        ShowCaret(
            reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason);
        QTextBrowser::focusInEvent(event);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        ShowCaret(true);
        QTextBrowser::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        ShowCaret(false);
        QTextBrowser::mousePressEvent(event);
    }

private:
    void ShowCaret(bool on)
    {
        if ((cursorWidth() > 0) != on)
            setCursorWidth(on ? 1 : 0);
    }
};

// The declared charset, or empty: decoderForHtml gives UTF-8 both for a page that
// says so and for one that says nothing, and those two must be told apart.
bool declaresCharset(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(2048).toLower();
    return head.contains("charset") || head.startsWith("\xef\xbb\xbf") || head.startsWith("\xff\xfe")
        || head.startsWith("\xfe\xff");
}

// Whether the page's head names the Arabic code page as its charset.
bool declaresWindows1256(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(2048).toLower();
    qsizetype at = head.indexOf("charset");
    if (at < 0)
        return false;
    at += 7;
    while (at < head.size() && (head[at] == ' ' || head[at] == '=' || head[at] == '"' || head[at] == '\''))
        ++at;
    qsizetype end = at;
    while (end < head.size()
        && (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' || head[end] == '_'))
        ++end;
    const QByteArray name = head.mid(at, end - at);
    return name == "windows-1256" || name == "cp1256" || name == "x-cp1256";
}

bool hasMergedCells(QTextTable *table)
{
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                return true;
        }
    }
    return false;
}

void mirrorTable(QTextTable *table)
{
    const int rows = table->rows();
    const int columns = table->columns();
    const auto contents = [table](int r, int c) {
        const QTextTableCell cell = table->cellAt(r, c);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
        return cursor;
    };
    for (int r = 0; r < rows; ++r) {
        for (int left = 0, right = columns - 1; left < right; ++left, --right) {
            QTextCursor a = contents(r, left);
            QTextCursor b = contents(r, right);
            const QTextDocumentFragment fragmentA = a.selection();
            const QTextDocumentFragment fragmentB = b.selection();
            const QTextBlockFormat blockA = a.blockFormat();
            const QTextBlockFormat blockB = table->cellAt(r, right).firstCursorPosition().blockFormat();
            const QTextCharFormat cellA = table->cellAt(r, left).format();
            const QTextCharFormat cellB = table->cellAt(r, right).format();
            // The right cell first: the left cell's positions stay valid.
            b.insertFragment(fragmentA);
            QTextCursor firstB = table->cellAt(r, right).firstCursorPosition();
            firstB.setBlockFormat(blockA);
            a = contents(r, left);
            a.insertFragment(fragmentB);
            QTextCursor firstA = table->cellAt(r, left).firstCursorPosition();
            firstA.setBlockFormat(blockB);
            table->cellAt(r, left).setFormat(cellB);
            table->cellAt(r, right).setFormat(cellA);
        }
    }
    QTextTableFormat format = table->format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    std::reverse(widths.begin(), widths.end());
    format.setColumnWidthConstraints(widths);
    table->setFormat(format);
}

// The text engine lays a table out more than once to find its columns' widths,
// and each of those lays out the tables inside it again: the cost doubles with
// every level of nesting (16 levels take seconds, 40 would take years). Pages
// exported by word processors nest a few levels; deeper than this, a table's
// cells are set one after another in the cell that holds it, in reading order.
constexpr int DeepestTable = 6;

// Replaces the table by its cells' contents, cell after cell; returns where in
// the document they went.
std::pair<int, int> unwrapTable(QTextTable *table)
{
    QList<QTextDocumentFragment> cells;
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue; // covered by a merged cell
            QTextCursor contents = cell.firstCursorPosition();
            contents.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            cells << contents.selection();
        }
    }
    const int start = table->firstPosition() - 1;
    QTextCursor cursor(table->document());
    cursor.setPosition(start);
    cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    for (int i = 0; i < cells.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertFragment(cells[i]);
    }
    return { start, cursor.position() };
}

// The text engine lays table columns out left to right whatever the page's
// direction, so a right-to-left page would read its tables backwards. Tables
// marked right to left (by their own dir or the page's) get their cells swapped
// end for end, with their formats and column widths. Tables with merged cells
// keep the engine's order: mirroring them cell by cell would tear the spans.
//
// Outer tables go first. Swapping an outer table's cells copies the tables
// nested in them, so its nested tables are only looked at after it, in their
// copies, and each table of the page is dealt with exactly once: the page is
// walked once, frame by frame, with no mark left on a table and no search from
// the top after each one.
void arrangeTables(QTextDocument *doc)
{
    struct Pending
    {
        QPointer<QTextFrame> frame;
        int depth;
    };
    std::vector<Pending> pending;
    // Reversed, so that the page's first table is taken first.
    const auto queue = [&pending](const QList<QTextFrame *> &frames, int depth) {
        for (auto it = frames.crbegin(); it != frames.crend(); ++it)
            pending.push_back({ *it, depth });
    };
    queue(doc->rootFrame()->childFrames(), 1);
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        if (!next.frame)
            continue;
        auto *table = qobject_cast<QTextTable *>(next.frame.data());
        if (table && next.depth > DeepestTable) {
            // Its cells' tables now stand in the parent at this same depth.
            QTextFrame *parent = table->parentFrame();
            const auto [start, end] = unwrapTable(table);
            QList<QTextFrame *> moved;
            for (QTextFrame *child : parent->childFrames()) {
                if (child->firstPosition() > start && child->lastPosition() < end)
                    moved << child;
            }
            queue(moved, next.depth);
            continue;
        }
        if (table && table->format().layoutDirection() == Qt::RightToLeft && !hasMergedCells(table))
            mirrorTable(table);
        queue(next.frame->childFrames(), next.depth + 1);
    }
}

} // namespace

TextBrowserView::TextBrowserView(QWidget *parent)
    : DocumentView(parent)
    , m_browser(new Browser(parent))
{
    m_browser->setObjectName(QStringLiteral("RTF"));
    m_browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser->setFrameShape(QFrame::NoFrame);
    m_browser->setOpenLinks(false);
    m_browser->setLayoutDirection(Qt::RightToLeft);
    AccessibleDocument::Install();
    // A caret that the arrow keys move lets a screen reader read the page line by
    // line and word by word.
    m_browser->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    connect(m_browser, &QTextEdit::cursorPositionChanged, this, [this] {
        QAccessibleTextCursorEvent ev(m_browser, m_browser->textCursor().position());
        QAccessible::updateAccessibility(&ev);
    });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TextBrowserView::linkClicked);
    connect(m_browser->verticalScrollBar(), &QScrollBar::valueChanged, this, &DocumentView::ScrollChanged);
}

TextBrowserView::~TextBrowserView() = default;

QWidget *TextBrowserView::Widget()
{
    return m_browser;
}

QString TextBrowserView::DecodePage(const QByteArray &bytes)
{
    if (declaresWindows1256(bytes))
        return FromWindows1256(bytes);
    if (declaresCharset(bytes)) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return FromWindows1256(bytes);
}

void TextBrowserView::LoadPage(QTextDocument *document, const QByteArray &bytes)
{
    document->setHtml(DecodePage(bytes));
    arrangeTables(document);
}

void TextBrowserView::Navigate(const QString &target)
{
    const int generation = ++m_generation;
    m_busy = true;
    m_location = target;
    if (target == Blank) {
        m_browser->clear();
    } else {
        QFile file(target);
        if (QFileInfo(target).isFile() && file.open(QIODevice::ReadOnly)) {
            const QUrl base = QUrl::fromLocalFile(QFileInfo(target).absolutePath() + QLatin1Char('/'));
            const QString html = DecodePage(file.readAll());
            QTextDocument *shown = m_browser->document();
            if (!html.contains(QLatin1String("<table"), Qt::CaseInsensitive)) {
                shown->setBaseUrl(base);
                m_browser->setHtml(html);
            } else {
                // The view lays its document out at the end of every edit: as
                // soon as the page is read (a deep page never gets further), then
                // again after each table is mirrored. The tables are arranged in
                // a document of their own that nothing lays out, and the page is
                // copied over whole, to be laid out once. (An edit block would
                // hold the layout back, but the document's tables cannot be found
                // before the block ends.)
                QTextDocument page;
                page.setDefaultFont(shown->defaultFont());
                page.setDefaultStyleSheet(shown->defaultStyleSheet());
                page.setDocumentMargin(shown->documentMargin());
                page.setBaseUrl(base);
                page.setHtml(html);
                arrangeTables(&page);
                m_browser->clear();
                shown->setBaseUrl(base);
                QTextCursor(shown).insertFragment(QTextDocumentFragment(&page));
                shown->rootFrame()->setFrameFormat(page.rootFrame()->frameFormat());
                shown->setMetaInformation(
                    QTextDocument::DocumentTitle, page.metaInformation(QTextDocument::DocumentTitle));
                // The caret starts at the page's top, as after any page that is read.
                m_browser->setTextCursor(QTextCursor(shown));
            }
        } else {
            // A page that cannot be read shows as an empty page: authors find the
            // problem with the course checker, learners see nothing broken.
            m_browser->clear();
        }
    }
    m_browser->verticalScrollBar()->setValue(0);
    // Report once the event loop has laid the page out, as a browser would.
    QTimer::singleShot(0, this, [this, generation] {
        if (generation != m_generation)
            return;
        m_busy = false;
        // The screen reader reads the new page from its top.
        QAccessibleTextUpdateEvent changed(m_browser, 0, QString(), m_browser->toPlainText());
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent named(m_browser, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        emit DocumentComplete(m_location);
    });
}

int TextBrowserView::ScrollHeight() const
{
    // The browser's own (hidden) scroll range is what scrollTop moves in, and the
    // window measures the visible part as the view's whole height: taken this way
    // the page's end is reached exactly when scrollTop = ScrollHeight - height.
    return m_browser->verticalScrollBar()->maximum() + m_browser->height();
}

int TextBrowserView::ScrollTop() const
{
    return m_browser->verticalScrollBar()->value();
}

void TextBrowserView::SetScrollTop(int top)
{
    m_browser->verticalScrollBar()->setValue(top); // the scroll bar clamps to its range
}

void TextBrowserView::SetHiddenEdges(const QMargins &edges)
{
    // Screen terms, also for a right-to-left page: the scroll area does not mirror them.
    static_cast<Browser *>(m_browser)->setViewportMargins(edges);
}

void TextBrowserView::linkClicked(const QUrl &url)
{
    if (!url.isLocalFile() && !url.isRelative()) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QString here = QFileInfo(m_location).absoluteFilePath();
    const QUrl resolved = QUrl::fromLocalFile(QFileInfo(m_location).absolutePath() + QLatin1Char('/')).resolved(url);
    const QString path = resolved.toLocalFile();
    const QString anchor = resolved.fragment();
    // A link within the page only scrolls it; the page itself stays.
    if (!anchor.isEmpty() && (url.path().isEmpty() || QFileInfo(path).absoluteFilePath() == here)) {
        static_cast<Browser *>(m_browser)->ScrollTo(anchor);
        return;
    }
    if (OfferLink(path))
        return;
    Navigate(path);
    if (!anchor.isEmpty())
        static_cast<Browser *>(m_browser)->ScrollTo(anchor);
}
