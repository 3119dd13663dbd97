// SPDX-License-Identifier: GPL-3.0-or-later

#include "pageview/textbrowserview.h"

#include <QAccessible>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

const QString Heading = QStringLiteral("أحكام النون الساكنة");
const QString Sentence = QStringLiteral("النون الساكنة هي النون الخالية من الحركة");

QString write(const QTemporaryDir &dir, const QString &html)
{
    const QString path = dir.filePath(QStringLiteral("page.htm"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(html.toUtf8());
    return path;
}

QString page(const QString &body)
{
    return QStringLiteral("<html dir=\"rtl\"><head><title>الدرس</title></head><body>%1</body></html>").arg(body);
}

QString lessonPage()
{
    QString body = QStringLiteral("<h1>%1</h1><p>%2</p>").arg(Heading, Sentence);
    body += QStringLiteral("<p><a href=\"other.htm\">الإدغام</a></p>");
    body += QStringLiteral("<table><tr><td>خلية أولى</td><td>خلية ثانية</td></tr></table>");
    for (int i = 0; i < 12; ++i)
        body += QStringLiteral("<p>%1 %2 %1 %2 %1</p>").arg(Sentence).arg(i);
    return QStringLiteral("<html dir=\"rtl\"><head><title>الدرس</title></head><body>%1</body></html>").arg(body);
}

} // namespace

class TestAccessibleDocument final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void pageIsADocumentWithItsWholeText();
    void readsByBoundary_data();
    void readsByBoundary();
    void linesFollowTheLayoutWithoutGapOrOverlap();
    void attributesTellHeadingsAndLinks_data();
    void attributesTellHeadingsAndLinks();
    void caretMovesByKeyboard();
    void pageElementsInReadingOrder_data();
    void pageElementsInReadingOrder();
    void elementsLeadTheCaretAndFollowLinks();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_host;
    TextBrowserView *m_view = nullptr;
    QAccessibleInterface *m_doc = nullptr;
    QAccessibleTextInterface *m_text = nullptr;
};

void TestAccessibleDocument::init()
{
    m_host = std::make_unique<QWidget>();
    m_view = new TextBrowserView(m_host.get());
    m_view->Widget()->setGeometry(0, 0, 420, 200);
    m_host->resize(420, 200);
    m_host->show();
    QSignalSpy done(m_view, &DocumentView::DocumentComplete);
    m_view->Navigate(write(m_dir, lessonPage()));
    QVERIFY(done.wait(2000));
    m_doc = QAccessible::queryAccessibleInterface(m_view->Widget());
    QVERIFY(m_doc);
    m_text = m_doc->textInterface();
    QVERIFY(m_text);
}

void TestAccessibleDocument::pageIsADocumentWithItsWholeText()
{
    QCOMPARE(m_doc->role(), QAccessible::Document);
    QCOMPARE(m_doc->text(QAccessible::Name), QStringLiteral("الدرس"));
    QVERIFY(m_doc->state().readOnly);
    const QString all = m_text->text(0, m_text->characterCount());
    QCOMPARE(all.size(), m_text->characterCount());
    QVERIFY(all.startsWith(Heading + QLatin1Char('\n') + Sentence));
    QVERIFY(all.contains(QStringLiteral("خلية أولى")));
    // Offsets past either end are the ends, not a crash or stray characters.
    QCOMPARE(m_text->text(-5, 3), Heading.left(3));
    QCOMPARE(m_text->text(m_text->characterCount() - 2, m_text->characterCount() + 50), all.right(2));
}

void TestAccessibleDocument::readsByBoundary_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first character") << 0 << int(QAccessible::CharBoundary) << Heading.left(1);
    QTest::newRow("first word") << 2 << int(QAccessible::WordBoundary) << QStringLiteral("أحكام");
    QTest::newRow("the heading's line") << 3 << int(QAccessible::LineBoundary) << Heading + QLatin1Char('\n');
    QTest::newRow("the sentence's first word")
        << int(Heading.size() + 1) << int(QAccessible::WordBoundary) << QStringLiteral("النون");
}

void TestAccessibleDocument::readsByBoundary()
{
    QFETCH(int, offset);
    QFETCH(int, boundary);
    QFETCH(QString, expected);
    int start = -1;
    int end = -1;
    const QString got = m_text->textAtOffset(offset, QAccessible::TextBoundaryType(boundary), &start, &end);
    QCOMPARE(got, expected);
    QCOMPARE(m_text->text(start, end), got);
}

void TestAccessibleDocument::linesFollowTheLayoutWithoutGapOrOverlap()
{
    // The view is narrow: paragraphs wrap, and reading line after line must give
    // back the whole page in order, each line shorter than its paragraph.
    QString read;
    int offset = 0;
    int lines = 0;
    int longest = 0;
    const int count = m_text->characterCount();
    while (offset < count && lines < 1000) {
        int start = -1;
        int end = -1;
        const QString line = m_text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        QCOMPARE(start, offset);
        QVERIFY2(end > start, qPrintable(QString::number(offset)));
        read += line;
        longest = qMax(longest, int(line.size()));
        offset = end;
        ++lines;
    }
    QCOMPARE(read, m_text->text(0, count));
    QVERIFY(longest < (Sentence.size() + 3) * 5);
    // Before and after step to the neighbouring lines.
    int start = -1;
    int end = -1;
    const QString second = m_text->textAfterOffset(0, QAccessible::LineBoundary, &start, &end);
    QCOMPARE(start, int(Heading.size() + 1));
    QCOMPARE(m_text->textBeforeOffset(start, QAccessible::LineBoundary, &start, &end), Heading + QLatin1Char('\n'));
    QVERIFY(!second.isEmpty());
    QVERIFY(m_text->textAfterOffset(count - 1, QAccessible::LineBoundary, &start, &end).isEmpty());
}

void TestAccessibleDocument::attributesTellHeadingsAndLinks_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("attribute");
    QTest::newRow("heading") << Heading << "heading-level:1;";
    QTest::newRow("link") << "الإدغام"
                          << "link:true;";
    QTest::newRow("plain text") << "الخالية"
                                << "";
}

void TestAccessibleDocument::attributesTellHeadingsAndLinks()
{
    QFETCH(QString, word);
    QFETCH(QString, attribute);
    const QString all = m_text->text(0, m_text->characterCount());
    const int at = int(all.indexOf(word));
    QVERIFY(at >= 0);
    int start = -1;
    int end = -1;
    QCOMPARE(m_text->attributes(at + 1, &start, &end), attribute);
    if (!attribute.isEmpty())
        QCOMPARE(m_text->text(start, end), word);
}

void TestAccessibleDocument::caretMovesByKeyboard()
{
    QWidget *browser = m_view->Widget();
    browser->setFocus();
    QCOMPARE(m_text->cursorPosition(), 0);
    QTest::keyClick(browser, Qt::Key_Down);
    QVERIFY(m_text->cursorPosition() > 0);
    QTest::keyClick(browser, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m_text->cursorPosition(), m_text->characterCount());
    // The screen reader moves the caret too, and a new page starts at its top.
    m_text->setCursorPosition(int(Heading.size() + 1));
    QCOMPARE(static_cast<QTextBrowser *>(browser)->textCursor().position(), int(Heading.size() + 1));
    m_text->setCursorPosition(1 << 20);
    QCOMPARE(m_text->cursorPosition(), m_text->characterCount());
    QSignalSpy done(m_view, &DocumentView::DocumentComplete);
    m_view->Navigate(write(m_dir, lessonPage()));
    QVERIFY(done.wait(2000));
    QCOMPARE(m_text->cursorPosition(), 0);
}

namespace {

// The page's elements depth first, each as "role:name:description" (a cell adds
// its row and column), the way a screen reader walking the document meets them.
void walk(QAccessibleInterface *node, QStringList *out)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child->object())
            continue; // the browser's own viewport and scroll bars
        QString item = QStringLiteral("%1:%2").arg(QString::number(child->role(), 16), child->text(QAccessible::Name));
        QString description = child->text(QAccessible::Description);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // The level is an attribute here, the description stays empty: both
        // are read into the one form that the tables below hold.
        QVERIFY(description.isEmpty());
        if (QAccessibleAttributesInterface *attributes = child->attributesInterface()) {
            const int level = attributes->attributeValue(QAccessible::Attribute::Level).toInt();
            if (level > 0)
                description = QStringLiteral("المستوى %1").arg(QChar(0x0660 + level));
        }
#endif
        if (!description.isEmpty())
            item += QLatin1Char(':') + description;
        if (QAccessibleTableCellInterface *cell = child->tableCellInterface())
            item
                += QStringLiteral("@%1,%2+%3").arg(cell->rowIndex()).arg(cell->columnIndex()).arg(cell->columnExtent());
        out->append(item);
        walk(child, out);
    }
}

QString element(QAccessible::Role role, const QString &rest)
{
    return QString::number(role, 16) + QLatin1Char(':') + rest;
}

} // namespace

void TestAccessibleDocument::pageElementsInReadingOrder_data()
{
    const QString running = QStringLiteral("<p>%1</p><p>%1 %1</p>").arg(Sentence);
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("tagged heading") << "<h2>أحكام الميم</h2>" + running
                                    << QStringList { element(QAccessible::Heading, "أحكام الميم:المستوى ٢") };
    QTest::newRow("styled titles ranked by size")
        << "<p><span style=\"font-size:22pt; font-weight:bold\">باب النون</span></p>"
           "<p><span style=\"font-size:17pt; font-weight:bold\">تعريفه</span></p>"
            + running + "<p><span style=\"font-size:17pt; font-weight:bold\">حروفه</span></p>"
        << QStringList { element(QAccessible::Heading, "باب النون:المستوى ١"),
               element(QAccessible::Heading, "تعريفه:المستوى ٢"), element(QAccessible::Heading, "حروفه:المستوى ٢") };
    QTest::newRow("bold running text, big letters, part bold: no headings")
        << "<p><b>حروف الإظهار ستة</b></p><p><span style=\"font-size:24pt; font-weight:bold\">ي &nbsp; ر &nbsp; "
           "م</span></p>"
           "<p><span style=\"font-size:22pt\"><b>نصف</b> عريض</span></p>"
            + running
        << QStringList {};
    QTest::newRow("a link in two fonts is one link")
        << running + "<p>انظر <a href=\"a.htm\">باب <b>الإدغام</b></a> و<a href=\"b.htm\">الإقلاب</a></p>"
        << QStringList { element(QAccessible::Link, "باب الإدغام"), element(QAccessible::Link, "الإقلاب") };
    QTest::newRow("table cells by row and column, a link inside a cell")
        << running
            + "<table><tr><td>الحرف</td><td><a href=\"c.htm\">المثال</a></td></tr>"
              "<tr><td colspan=\"2\">سطر كامل</td></tr></table>"
        << QStringList { element(QAccessible::Table, ""), element(QAccessible::Cell, "الحرف@0,0+1"),
               element(QAccessible::Cell, "المثال@0,1+1"), element(QAccessible::Link, "المثال"),
               element(QAccessible::Cell, "سطر كامل@1,0+2") };
}

void TestAccessibleDocument::pageElementsInReadingOrder()
{
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QSignalSpy done(m_view, &DocumentView::DocumentComplete);
    m_view->Navigate(write(m_dir, page(body)));
    QVERIFY(done.wait(2000));
    QStringList found;
    walk(m_doc, &found);
    QCOMPARE(found, expected);
}

void TestAccessibleDocument::elementsLeadTheCaretAndFollowLinks()
{
    auto *browser = static_cast<QTextBrowser *>(m_view->Widget());
    QStringList names;
    QAccessibleInterface *heading = nullptr;
    QAccessibleInterface *link = nullptr;
    QAccessibleInterface *cell = nullptr;
    for (int i = 0; i < m_doc->childCount(); ++i) {
        QAccessibleInterface *child = m_doc->child(i);
        QCOMPARE(m_doc->indexOfChild(child), i);
        if (child->role() == QAccessible::Heading)
            heading = child;
        if (child->role() == QAccessible::Link)
            link = child;
        if (child->role() == QAccessible::Table) {
            QCOMPARE(child->parent(), m_doc);
            cell = child->tableInterface()->cellAt(0, 1);
        }
    }
    QVERIFY(heading && link && cell);
    // Each has its place on the page, within the page's view when scrolled to.
    const QRect view = m_doc->rect();
    QVERIFY(!heading->rect().isEmpty() && view.contains(heading->rect().center()));
    QVERIFY(!heading->state().offscreen);
    // Going to an element (the bridge's grab focus) moves the caret to its start.
    const int cellAt = int(m_text->text(0, m_text->characterCount()).indexOf(cell->text(QAccessible::Name)));
    cell->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    QCOMPARE(m_text->cursorPosition(), cellAt);
    // The link's press follows it, as a click on it does.
    QSignalSpy followed(browser, &QTextBrowser::anchorClicked);
    QCOMPARE(link->actionInterface()->actionNames().value(0), QAccessibleActionInterface::pressAction());
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(followed.count(), 1);
    QCOMPARE(followed.at(0).at(0).toUrl(), QUrl(QStringLiteral("other.htm")));
}

QTEST_MAIN(TestAccessibleDocument)
#include "test_accessibledocument.moc"
