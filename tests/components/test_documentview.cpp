#include "components/textbrowserview.h"

#include <QFile>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextTable>
#include <QWidget>
#include <QtTest>

namespace {

const QString Arabic = QStringLiteral("النون الساكنة والتنوين");

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A right-to-left page of numbered Arabic paragraphs, long enough to scroll.
QString longArabicPage(const QTemporaryDir &dir, const QString &name, int paragraphs, const QString &tail = {})
{
    QString body;
    for (int i = 0; i < paragraphs; ++i)
        body += QStringLiteral("<p>%1 %2</p>").arg(Arabic).arg(i);
    return write(dir, name, QStringLiteral("<html dir=\"rtl\"><body>%1%2</body></html>").arg(body, tail).toUtf8());
}

QByteArray cp1256(const QString &text)
{
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

} // namespace

class TestDocumentView final : public QObject
{
    Q_OBJECT
private slots:
    void decodesByDeclaredCharset_data();
    void decodesByDeclaredCharset();
    void navigationReportsAndScrolls();
    void blankAndMissingPages();
    void pageKeepsClearOfHiddenEdges();
    void tablesReadInThePagesDirection_data();
    void tablesReadInThePagesDirection();
    void nestedTablesReadRightToLeft_data();
    void nestedTablesReadRightToLeft();
};

void TestDocumentView::decodesByDeclaredCharset_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString page = QStringLiteral("<html><head>%1</head><body>%2</body></html>");
    QTest::newRow("windows-1256 meta") << cp1256(page.arg(
        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\">"), Arabic));
    QTest::newRow("utf-8 meta") << page.arg(QStringLiteral("<meta charset=\"utf-8\">"), Arabic).toUtf8();
    QTest::newRow("undeclared utf-8") << page.arg(QString(), Arabic).toUtf8();
    QTest::newRow("undeclared code page") << cp1256(page.arg(QString(), Arabic));
}

void TestDocumentView::decodesByDeclaredCharset()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(TextBrowserView::DecodePage(bytes).contains(Arabic));
}

void TestDocumentView::navigationReportsAndScrolls()
{
    QTemporaryDir dir;
    const QString longPage = longArabicPage(dir, "long.htm", 200);

    QWidget host;
    TextBrowserView view(&host);
    view.Widget()->setGeometry(0, 0, 400, 300);
    host.resize(400, 300);
    host.show();
    QSignalSpy shown(&view, &DocumentView::DocumentComplete);
    view.Navigate(longPage);
    QVERIFY(view.Busy());
    QVERIFY(shown.wait(2000));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first().toString(), longPage);
    QVERIFY(!view.Busy());
    QCOMPARE(view.LocationURL(), longPage);

    const int height = view.ScrollHeight();
    QVERIFY2(height > 3000, qPrintable(QString::number(height)));
    QCOMPARE(view.ScrollTop(), 0);
    view.SetScrollTop(250);
    QCOMPARE(view.ScrollTop(), 250);
    // The view clamps to its range: the page's height less what is visible.
    view.SetScrollTop(1000000);
    QCOMPARE(view.ScrollTop(), height - view.Widget()->height());
    view.SetScrollTop(-40);
    QCOMPARE(view.ScrollTop(), 0);

    // A newer navigation supersedes a pending notification.
    const QString shortPage = write(dir, "short.htm", "<html><body>x</body></html>");
    shown.clear();
    view.Navigate(longPage);
    view.Navigate(shortPage);
    QVERIFY(shown.wait(2000));
    QTest::qWait(50);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first().toString(), shortPage);
    QCOMPARE(view.ScrollHeight(), view.Widget()->height());
}

void TestDocumentView::blankAndMissingPages()
{
    QTemporaryDir dir;
    QWidget host;
    TextBrowserView view(&host);
    QSignalSpy shown(&view, &DocumentView::DocumentComplete);
    view.Navigate(DocumentView::Blank);
    QVERIFY(shown.wait(2000));
    QCOMPARE(view.LocationURL(), QStringLiteral("about:blank"));
    const QString missing = dir.filePath("none.htm");
    view.Navigate(missing);
    QVERIFY(shown.wait(2000));
    QCOMPARE(view.LocationURL(), missing);
    QCOMPARE(view.ScrollTop(), 0);
}

void TestDocumentView::pageKeepsClearOfHiddenEdges()
{
    QTemporaryDir dir;
    const QString page = longArabicPage(dir, "page.htm", 100, QStringLiteral("<p>END</p>"));

    // The pane shows (20, 2)-(420, 302) of a 422 x 322 view, as the window lays it out.
    QWidget host;
    host.setLayoutDirection(Qt::RightToLeft);
    TextBrowserView view(&host);
    view.Widget()->setGeometry(0, 0, 422, 322);
    view.SetHiddenEdges(QMargins(20, 2, 2, 20));
    host.resize(422, 322);
    host.show();
    QSignalSpy shown(&view, &DocumentView::DocumentComplete);
    view.Navigate(page);
    QVERIFY(shown.wait(2000));

    const QRect visible(20, 2, 400, 300);
    auto *browser = qobject_cast<QTextBrowser *>(view.Widget());
    QVERIFY(browser);
    QCOMPARE(browser->viewport()->geometry(), visible);

    // Scrolled to its end, the last line lies inside the visible part.
    view.SetScrollTop(view.ScrollHeight() - view.Widget()->height());
    QVERIFY(browser->find(QStringLiteral("END")));
    const QRect end = browser->cursorRect().translated(browser->viewport()->pos());
    QVERIFY2(visible.contains(end),
        qPrintable(QStringLiteral("%1,%2 %3x%4").arg(end.x()).arg(end.y()).arg(end.width()).arg(end.height())));
}

void TestDocumentView::tablesReadInThePagesDirection_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("firstOnTheRight");
    const QString table
        = QStringLiteral("<table %1 border=1 width=\"100%\"><tr><td bgcolor=\"#ff0000\"><b>FIRST</b></td>"
                         "<td>MIDDLE</td><td><p>LAST</p><p>more</p></td></tr>"
                         "<tr><td>f2</td><td>m2</td><td>l2</td></tr></table>");
    QTest::newRow("page right to left")
        << QStringLiteral("<html dir=\"rtl\"><body>%1</body></html>").arg(table.arg(QString())) << true;
    QTest::newRow("table right to left")
        << QStringLiteral("<html><body>%1</body></html>").arg(table.arg(QStringLiteral("dir=\"rtl\""))) << true;
    QTest::newRow("left to right table in a right to left page")
        << QStringLiteral("<html dir=\"rtl\"><body>%1</body></html>").arg(table.arg(QStringLiteral("dir=\"ltr\"")))
        << false;
    QTest::newRow("left to right page") << QStringLiteral("<html><body>%1</body></html>").arg(table.arg(QString()))
                                        << false;
}

void TestDocumentView::tablesReadInThePagesDirection()
{
    QFETCH(QString, page);
    QFETCH(bool, firstOnTheRight);
    QTemporaryDir dir;
    QWidget host;
    TextBrowserView view(&host);
    view.Widget()->setGeometry(0, 0, 400, 300);
    host.resize(400, 300);
    host.show();
    QSignalSpy shown(&view, &DocumentView::DocumentComplete);
    view.Navigate(write(dir, "t.htm", page.toUtf8()));
    QVERIFY(shown.wait(2000));

    auto *browser = qobject_cast<QTextBrowser *>(view.Widget());
    const auto x = [browser](const QString &word) {
        const QTextCursor found = browser->document()->find(word);
        return found.isNull() ? -1 : browser->cursorRect(found).x();
    };
    QVERIFY(x("FIRST") >= 0 && x("LAST") >= 0 && x("l2") >= 0);
    QCOMPARE(x("FIRST") > x("LAST"), firstOnTheRight);
    QCOMPARE(x("f2") > x("l2"), firstOnTheRight);
    QVERIFY(x("MIDDLE") > qMin(x("FIRST"), x("LAST")) && x("MIDDLE") < qMax(x("FIRST"), x("LAST")));
    // A cell keeps its own look and its paragraphs wherever it goes.
    const QTextCursor first = browser->document()->find("FIRST");
    QCOMPARE(first.charFormat().fontWeight(), int(QFont::Bold));
    QTextTable *table = first.currentTable();
    QVERIFY(table);
    QCOMPARE(table->cellAt(first).format().background().color(), QColor(Qt::red));
    QCOMPARE(browser->document()->find("more").currentTable(), table);
}

using Pairs = QList<QPair<QString, QString>>;

// Old course pages lay themselves out with tables inside table cells, at any depth.
void TestDocumentView::nestedTablesReadRightToLeft_data()
{
    QTest::addColumn<QString>("body");
    // Each pair: the first word must stand to the right of the second.
    QTest::addColumn<Pairs>("rightOf");
    const auto row = [](const QString &cells) { return QStringLiteral("<tr>%1</tr>").arg(cells); };
    const auto table = [](const QString &rows) { return QStringLiteral("<table border=1>%1</table>").arg(rows); };
    const QString inner = table(QStringLiteral("<tr><td>IA</td><td>IB</td></tr><tr><td>IC</td><td>ID</td></tr>"));

    QTest::newRow("in the first cell") << table(row("<td>" + inner + "</td><td>OB</td><td>OC</td>"))
                                       << Pairs { { "IA", "IB" }, { "IC", "ID" }, { "IB", "OB" }, { "OB", "OC" } };
    QTest::newRow("in the last cell") << table(row("<td>OA</td><td>OB</td><td>" + inner + "</td>"))
                                      << Pairs { { "OA", "OB" }, { "OB", "IA" }, { "IA", "IB" } };
    QTest::newRow("in every cell of two rows")
        << table(row("<td>" + inner + "</td><td>" + inner.toLower() + "</td>") + row("<td>PA</td><td>PB</td>"))
        << Pairs { { "IA", "IB" }, { "ia", "ib" }, { "IB", "ia" }, { "PA", "PB" } };
    QTest::newRow("three deep") << table(row("<td>" + table(row("<td>" + inner + "</td><td>MB</td>"))
        + "</td><td>OB</td>")) << Pairs { { "IA", "IB" }, { "IB", "MB" }, { "MB", "OB" } };
    QTest::newRow("inside a table with merged cells")
        << table(row("<td colspan=2>" + inner + "</td>") + row("<td>PA</td><td>PB</td>"))
        << Pairs { { "IA", "IB" }, { "PB", "PA" } };
    QTest::newRow("merged cells inside") << table(
        row("<td>" + table(QStringLiteral("<tr><td colspan=2>WIDE</td></tr><tr><td>MA</td><td>MB</td></tr>"))
            + "</td><td>OB</td>")) << Pairs { { "MB", "MA" }, { "MB", "OB" } };
}

void TestDocumentView::nestedTablesReadRightToLeft()
{
    QFETCH(QString, body);
    QFETCH(Pairs, rightOf);
    QTemporaryDir dir;
    QWidget host;
    TextBrowserView view(&host);
    view.Widget()->setGeometry(0, 0, 600, 400);
    host.resize(600, 400);
    host.show();
    QSignalSpy shown(&view, &DocumentView::DocumentComplete);
    view.Navigate(write(dir, "n.htm", QStringLiteral("<html dir=\"rtl\"><body>%1</body></html>").arg(body).toUtf8()));
    QVERIFY(shown.wait(2000));

    auto *browser = qobject_cast<QTextBrowser *>(view.Widget());
    const auto x = [browser](const QString &word) {
        const QTextCursor found = browser->document()->find(word, 0, QTextDocument::FindCaseSensitively);
        return found.isNull() ? -1 : browser->cursorRect(found).x();
    };
    for (const auto &[right, left] : rightOf) {
        QVERIFY2(x(right) >= 0 && x(left) >= 0, qPrintable(right + " " + left));
        QVERIFY2(x(right) > x(left),
            qPrintable(QStringLiteral("%1 at %2, %3 at %4").arg(right).arg(x(right)).arg(left).arg(x(left))));
    }
}

QTEST_MAIN(TestDocumentView)
#include "test_documentview.moc"
