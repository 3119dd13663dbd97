#include "textbrowserview.h"

#include "components/accessibledocument.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QTimer>
#include <QUrl>

namespace {

// Gives the view its margins from outside: the page must keep clear of the
// strips that the pane hides.
class Browser final : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;
    using QTextBrowser::setViewportMargins;
};

// The declared charset, or empty: decoderForHtml gives UTF-8 both for a page that
// says so and for one that says nothing, and those two must be told apart.
bool declaresCharset(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(2048).toLower();
    return head.contains("charset") || head.startsWith("\xef\xbb\xbf") || head.startsWith("\xff\xfe")
        || head.startsWith("\xfe\xff");
}

// Set on a table once it has been dealt with. Mirroring an outer table copies
// its cells, and with them every table nested in them, so the tables of the
// page are looked up afresh after each one: a list taken beforehand would point
// at tables that no longer exist.
constexpr int TableDone = QTextFormat::UserProperty + 1;

// The first table not yet dealt with, innermost first: a nested table is
// mirrored before the table around it copies it (marked as done) elsewhere.
QTextTable *nextTable(QTextFrame *frame)
{
    const QList<QTextFrame *> children = frame->childFrames();
    for (QTextFrame *child : children) {
        if (QTextTable *inner = nextTable(child))
            return inner;
    }
    auto *table = qobject_cast<QTextTable *>(frame);
    if (table && !table->format().boolProperty(TableDone))
        return table;
    return nullptr;
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

// The text engine lays table columns out left to right whatever the page's
// direction, so a right-to-left page would read its tables backwards. Tables
// marked right to left (by their own dir or the page's) get their cells swapped
// end for end, with their formats and column widths. Tables with merged cells
// keep the engine's order: mirroring them cell by cell would tear the spans.
void mirrorRightToLeftTables(QTextDocument *doc)
{
    while (QTextTable *table = nextTable(doc->rootFrame())) {
        QTextTableFormat done = table->format();
        done.setProperty(TableDone, true);
        table->setFormat(done);
        if (done.layoutDirection() == Qt::RightToLeft && !hasMergedCells(table))
            mirrorTable(table);
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
    QStringDecoder arabic("windows-1256");
    if (arabic.isValid())
        return arabic.decode(bytes);
    return QString::fromLatin1(bytes);
}

void TextBrowserView::LoadPage(QTextDocument *document, const QByteArray &bytes)
{
    document->setHtml(DecodePage(bytes));
    mirrorRightToLeftTables(document);
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
            m_browser->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(target).absolutePath() + QLatin1Char('/')));
            m_browser->setHtml(DecodePage(file.readAll()));
            mirrorRightToLeftTables(m_browser->document());
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
        m_browser->scrollToAnchor(anchor);
        return;
    }
    if (OfferLink(path))
        return;
    Navigate(path);
    if (!anchor.isEmpty())
        m_browser->scrollToAnchor(anchor);
}
