// SPDX-License-Identifier: GPL-3.0-or-later

#include "coursechecker.h"

#include "app/config.h"
#include "app/coursefolders.h"
#include "app/fonts.h"
#include "base/codepage.h"
#include "base/fonctions.h"
#include "base/numbers.h"
#include "content/wordtimes.h"
#include "menu/menucontrols.h"
#include "pageview/textbrowserview.h"
#include "skin/skinfiles.h"
#include "sound/api/soundinfo.h"
#include "sound/program/soundlibrary.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace {

const QString HtmlDir = QStringLiteral("data/html/");
const QString ExamplesDir = QStringLiteral("data/examples/");
const QString DataImagesDir = QStringLiteral("data/images/");
const QString TextDir = QStringLiteral("data/text/");
const QString ImagesDir = QStringLiteral("Images/");
const QString RecDir = QStringLiteral("rec");

// Files that belong in the folder without anything referring to them.
const QStringList OwnFiles
    = { QStringLiteral("contents.ini"), QStringLiteral("config.ini"), QStringLiteral("savedoptions.ini"),
          QStringLiteral("start.mp3"), QStringLiteral("rattil"), QStringLiteral("rattil-check"),
          QStringLiteral("rattil.exe"), QStringLiteral("rattil-check.exe"), SoundLibrary::FileName };

// A file is read whole only when it is small enough to be what it claims.
constexpr qint64 MaxTextFile = 64 << 20;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxTextFile)
        return {};
    return file.readAll();
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines << bytes.mid(start, i - start);
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

bool hasArabicLetter(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x0600 && ch.unicode() <= 0x06FF)
            return true;
    }
    return false;
}

bool isAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

// The program reads its text files in the Arabic Windows code page whatever
// they hold. Text saved by a modern editor is UTF-8 and reads as a row of
// Latin-looking letters, which the author only notices in the running window.
QString codePageProblem(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QCoreApplication::translate(
            "CourseChecker", "is UTF-8 with a byte order mark, not Windows-1256: save it as \"Arabic (Windows)\"");
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QCoreApplication::translate(
            "CourseChecker", "is UTF-16, not Windows-1256: save it as \"Arabic (Windows)\"");
    if (isAscii(bytes))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError() && hasArabicLetter(text))
        return QCoreApplication::translate("CourseChecker",
            "is UTF-8, not Windows-1256: its Arabic shows as garbled letters; "
            "save it as \"Arabic (Windows)\"");
    return {};
}

// Whether a font name reaches an installed font, directly or through the
// substitutions the program registers for the Windows font names.
bool fontInstalled(const QString &name)
{
    if (QFontDatabase::hasFamily(name))
        return true;
    const QStringList substitutes = QFont::substitutes(name);
    for (const QString &s : substitutes) {
        if (QFontDatabase::hasFamily(s))
            return true;
    }
    return false;
}

struct ConfigLine
{
    const char *name;
    char kind; // 'n' number, 'c' colour, 'f' font
};

// What each line of config.ini holds; the reader takes lines by position.
constexpr ConfigLine ConfigLayout[ConfigLines] = {
    { "MenuBackColor", 'c' },
    { "SlideStep", 'n' },
    { "ScrollStep", 'n' },
    { "PageStep", 'n' },
    { "ChapterFont", 'f' },
    { "LessonFont", 'f' },
    { "ChapterFontSize", 'n' },
    { "LessonFontSize", 'n' },
    { "ChapterColor", 'c' },
    { "ChapterHoverColor", 'c' },
    { "ChapterSelectedColor", 'c' },
    { "LessonColor", 'c' },
    { "LessonHoverColor", 'c' },
    { "LessonSelectedColor", 'c' },
    { "MenuSteps", 'n' },
    { "TitleTextOffset", 'n' },
    { "AyaFont", 'f' },
    { "AyaFontSize", 'n' },
    { "SampleTitleFont", 'f' },
    { "SampleTitleFontSize", 'n' },
    { "SampleTitleColor", 'c' },
};

} // namespace

CourseChecker::CourseChecker(const QString &folder)
    : m_folder(QDir(folder).absolutePath())
{
}

int CourseChecker::ErrorCount() const
{
    return int(std::count_if(
        m_findings.cbegin(), m_findings.cend(), [](const Finding &f) { return f.severity == Finding::Error; }));
}

int CourseChecker::WarningCount() const
{
    return int(m_findings.size()) - ErrorCount();
}

void CourseChecker::add(Finding::Severity severity, const QString &path, const QString &message, int line)
{
    m_findings.append({ path, line, severity, message });
}

QString CourseChecker::absolute(const QString &relative) const
{
    return m_folder + QLatin1Char('/') + relative;
}

QString CourseChecker::relative(const QString &absolute) const
{
    return QDir(m_folder).relativeFilePath(absolute);
}

// The program asks the file system for exact names (skin files aside), so an
// existing file in another letter case is still missing for it.
bool CourseChecker::exists(const QString &relative) const
{
    return FileExists(absolute(relative));
}

void CourseChecker::use(const QString &relative)
{
    m_used.insert(QDir::cleanPath(relative));
}

// The near miss is named in the finding, so it is not reported again as a file
// that nothing refers to.
QString CourseChecker::caseHint(const QString &relativePath)
{
    const QFileInfo info(absolute(relativePath));
    const QStringList entries = info.dir().entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            use(relative(info.dir().filePath(entry)));
            return tr(" (there is a file %1, but the name must match in letter case)").arg(entry);
        }
    }
    return {};
}

void CourseChecker::step()
{
    ++m_done;
    if (m_progress)
        m_progress(m_done, m_total);
}

bool CourseChecker::Run(const Progress &progress)
{
    if (!QFileInfo(m_folder).isDir())
        return false;
    m_progress = progress;
    RegisterFontSubstitutions();

    checkContents();
    collectPages();
    m_total = int(SkinFileNames().size()) + int(m_pages.size()) + 5;
    for (const Page &p : std::as_const(m_pages))
        m_total += qBound(0, p.examples, ExampleButtons);

    checkConfig();
    checkSavedOptions();
    checkSkin();

    const QString blank = tr("missing: the learner sees a blank page instead");
    checkPage(HtmlDir + QStringLiteral("first.htm"), tr("missing: the program opens on nofile.htm instead"));
    checkPage(HtmlDir + QStringLiteral("nofile.htm"),
        tr("missing: every missing page, and a missing first.htm, shows a blank page"));
    for (const char *fixed : { "about.htm", "ref.htm", "help.htm" })
        checkPage(HtmlDir + QLatin1String(fixed), blank);
    for (const Page &p : std::as_const(m_pages)) {
        checkPage(HtmlDir + p.file, tr("missing: \"%1\" shows nofile.htm instead").arg(p.title));
        for (int n = 1; n <= qMin(p.examples, ExampleButtons); ++n) {
            checkExample(p, n);
            step();
        }
    }
    if (exists(QStringLiteral("start.mp3")))
        checkSound(QStringLiteral("start.mp3"));

    checkRecordings();
    checkUnreferenced();
    return true;
}

// ---------------------------------------------------------------- contents.ini

void CourseChecker::checkContents()
{
    const QString name = QStringLiteral("contents.ini");
    use(name);
    if (!exists(name)) {
        add(Finding::Error, name,
            tr("missing: the program says \"%1\" and shows an empty menu").arg(Catalogue::MissingFileMessage)
                + caseHint(name));
        return;
    }
    const QByteArray bytes = readFile(absolute(name));
    const QString encoding = codePageProblem(bytes);
    if (!encoding.isEmpty())
        add(Finding::Error, name, encoding);

    m_catalogue.LoadFromBytes(bytes);
    m_haveCatalogue = true;

    QStringDecoder decoder("windows-1256");
    const QList<QByteArray> lines = splitLines(bytes);
    for (int i = 0; i < lines.size(); ++i)
        checkContentsLine(decoder.decode(lines.at(i)), i + 1);
    if (m_lessonIsIndex && m_entriesHere == 0)
        add(Finding::Warning, name, tr("index lesson without entries: its list is empty"), m_indexLessonLine);
    if (m_chapters == 0)
        add(Finding::Error, name, tr("no chapter line (\"@ title\"): the menu is empty"));
}

void CourseChecker::checkContentsLine(const QString &line, int number)
{
    const QString file = QStringLiteral("contents.ini");
    if (line.trimmed().isEmpty())
        return;
    const QChar kind = line.at(0);
    const QString text = line.size() > 2 ? line.mid(2) : QString();
    const auto endIndexLesson = [&] {
        if (m_lessonIsIndex && m_entriesHere == 0)
            add(Finding::Warning, file, tr("index lesson without entries: its list is empty"), m_indexLessonLine);
        m_lessonIsIndex = false;
    };

    if (kind == QLatin1Char('@')) {
        endIndexLesson();
        ++m_chapters;
        m_lessonsHere = 0;
        m_entriesHere = 0;
        if (m_chapters > MenuControls::ChapterItems)
            add(Finding::Error, file,
                tr("chapter %1 is beyond the %2 chapters the menu shows: learners cannot reach it")
                    .arg(m_chapters)
                    .arg(MenuControls::ChapterItems),
                number);
        if (text.trimmed().isEmpty())
            add(Finding::Warning, file, tr("chapter %1 has no title").arg(m_chapters), number);
    } else if (kind == QLatin1Char('#')) {
        endIndexLesson();
        m_entriesHere = 0;
        if (m_chapters == 0) {
            add(Finding::Warning, file, tr("lesson before the first chapter: it is never shown"), number);
            return;
        }
        ++m_lessonsHere;
        if (m_lessonsHere > MenuControls::LessonLinks && m_chapters <= MenuControls::ChapterItems)
            add(Finding::Error, file,
                tr("lesson %1 of chapter %2 is beyond the %3 lessons a chapter shows: learners cannot reach it")
                    .arg(m_lessonsHere)
                    .arg(m_chapters)
                    .arg(MenuControls::LessonLinks),
                number);
        checkNumber(text, number, true);
        const qint16 n = m_catalogue.PageExamples(m_chapters, m_lessonsHere, 0);
        m_lessonIsIndex = n >= Catalogue::IndexThreshold;
        m_indexLessonLine = number;
    } else if (kind == QLatin1Char('&')) {
        if (m_lessonsHere == 0) {
            add(Finding::Warning, file, tr("entry before the first lesson of its chapter: it is never shown"), number);
            return;
        }
        if (!m_lessonIsIndex) {
            add(Finding::Warning, file,
                tr("entry under lesson %1 of chapter %2, which is not an index lesson (its number is below %3): "
                   "it is never shown")
                    .arg(m_lessonsHere)
                    .arg(m_chapters)
                    .arg(Catalogue::IndexThreshold),
                number);
            return;
        }
        ++m_entriesHere;
        if (m_entriesHere > IndexLinks)
            add(Finding::Error, file,
                tr("entry %1 is beyond the %2 entries an index lesson shows: learners cannot reach it")
                    .arg(m_entriesHere)
                    .arg(IndexLinks),
                number);
        checkNumber(text, number, false);
    } else if (kind == QLatin1Char(';')) {
        return;
    } else if (kind.isSpace()) {
        add(Finding::Warning, file, tr("starts with a blank, so the line is not read"), number);
    } else {
        add(Finding::Warning, file,
            tr("not read: a line starts with @ (chapter), # (lesson) or & (entry); start a comment with ;"), number);
    }
}

void CourseChecker::checkNumber(const QString &text, int number, bool lesson)
{
    const QString file = QStringLiteral("contents.ini");
    const int star = text.indexOf(QLatin1Char('*'));
    if (star < 0) {
        add(Finding::Warning, file, tr("no \"*\" and number after the title: taken as 0, a page without examples"),
            number);
        return;
    }
    const int second = text.indexOf(QLatin1Char('*'), star + 1);
    const QString raw = second < 0 ? text.mid(star + 1) : text.mid(star + 1, second - star - 1);
    const QString digits = RemoveSpaces(raw);
    if (digits.isEmpty()) {
        add(Finding::Warning, file, tr("no number after \"*\": taken as 0, a page without examples"), number);
        return;
    }
    const std::optional<qint16> n = ToInt16(digits);
    if (!n || digits.contains(QLatin1Char('.'))) {
        add(Finding::Error, file,
            tr("\"%1\" is not a whole number from 0 to 32767: taken as 0, a page without examples").arg(raw.trimmed()),
            number);
        return;
    }
    if (*n < 0) {
        add(Finding::Error, file, tr("the number %1 is negative: write 0 for a page without examples").arg(*n), number);
    } else if (*n > ExampleButtons && (!lesson || *n < Catalogue::IndexThreshold)) {
        add(Finding::Error, file,
            tr("%1 examples, but the panel has %2 buttons: examples %3 to %1 cannot be reached")
                .arg(*n)
                .arg(ExampleButtons)
                .arg(ExampleButtons + 1),
            number);
    }
}

// The pages the window can reach, with the examples it offers on them.
void CourseChecker::collectPages()
{
    if (!m_haveCatalogue)
        return;
    const int chapters = qMin<int>(m_catalogue.ChapterCount(), MenuControls::ChapterItems);
    for (int c = 1; c <= chapters; ++c) {
        const int lessons = qMin<int>(m_catalogue.LessonCount(c), MenuControls::LessonLinks);
        for (int l = 1; l <= lessons; ++l) {
            const QString cl = QStringLiteral("%1-%2").arg(c).arg(l);
            if (m_catalogue.IsIndexLesson(c, l)) {
                const int entries = qMin<int>(m_catalogue.EntryCount(c, l), IndexLinks);
                for (int k = 1; k <= entries; ++k)
                    m_pages.append(
                        { QStringLiteral("Ch%1-%2.htm").arg(cl).arg(k), QStringLiteral("%1-%2").arg(cl).arg(k),
                            m_catalogue.EntryTitle(c, l, k), m_catalogue.PageExamples(c, l, k) });
            } else {
                m_pages.append({ QStringLiteral("Ch%1.htm").arg(cl), cl, m_catalogue.LessonTitle(c, l),
                    m_catalogue.PageExamples(c, l, 0) });
            }
        }
    }
}

// ------------------------------------------------------ config.ini, savedoptions

void CourseChecker::checkConfig()
{
    const QString name = QStringLiteral("config.ini");
    step();
    if (!exists(name))
        return;
    use(name);
    const QByteArray bytes = readFile(absolute(name));
    const QString encoding = codePageProblem(bytes);
    if (!encoding.isEmpty())
        add(Finding::Error, name, encoding);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QStringList values = ConfigValues(buffer);
    for (int i = 0; i < values.size(); ++i) {
        const ConfigLine &what = ConfigLayout[i];
        const QString &value = values.at(i);
        const QString setting = QLatin1String(what.name);
        if (what.kind == 'n' && !ToInt16(value)) {
            add(Finding::Error, name,
                tr("%1: \"%2\" is not a whole number from -32768 to 32767; the program uses 0").arg(setting, value),
                i + 1);
        } else if (what.kind == 'c' && !ToInt32(value)) {
            add(Finding::Error, name,
                tr("%1: \"%2\" is not a colour (a number in 0x00BBGGRR order); the program uses black")
                    .arg(setting, value),
                i + 1);
        } else if (what.kind == 'f' && !fontInstalled(value)) {
            const QString drawn = QFontInfo(QFont(value)).family();
            QString message = tr("%1: no installed font is called \"%2\"; the text is drawn in \"%3\" instead")
                                  .arg(setting, value, drawn);
            if (value != value.trimmed() && fontInstalled(value.trimmed()))
                message += tr(" (remove the blanks around the name)");
            add(Finding::Warning, name, message, i + 1);
        }
    }
    int lines = 0;
    for (const QByteArray &line : splitLines(bytes)) {
        if (!line.trimmed().isEmpty())
            ++lines;
    }
    if (values.size() < ConfigLines)
        add(Finding::Warning, name,
            tr("has %1 lines; the program reads %2 by position, and the settings of the missing lines keep "
               "their defaults")
                .arg(values.size())
                .arg(ConfigLines));
    else if (lines > ConfigLines)
        add(Finding::Warning, name, tr("lines after the %1th are not read").arg(ConfigLines), ConfigLines + 1);
}

void CourseChecker::checkSavedOptions()
{
    const QString name = QStringLiteral("savedoptions.ini");
    if (!exists(name))
        return;
    QFile file(absolute(name));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray first = splitLines(file.read(256)).value(0);
    if (!ToInt16(QString::fromLatin1(first)))
        add(Finding::Warning, name,
            tr("its first line is not a number: the examples bar opens at the top of the window"), 1);
}

// ------------------------------------------------------------------- the skin

void CourseChecker::checkSkin()
{
    const QStringList names = SkinFileNames();
    const QString folder = absolute(ImagesDir);
    if (!QFileInfo(folder).isDir()) {
        add(Finding::Error, ImagesDir, tr("the skin folder is missing: the window has no pictures at all"));
        m_done += int(names.size());
        return;
    }
    for (const QString &name : names) {
        step();
        const QString path = ResolveSkinFile(folder, name);
        const QString shown = ImagesDir + name;
        if (!QFileInfo(path).isFile()) {
            add(Finding::Error, shown, tr("missing: the window shows no picture in its place"));
            continue;
        }
        use(relative(path));
        if (name.endsWith(QLatin1String(".cur"))) {
            QPoint hotSpot;
            if (DecodeCursor(readFile(path), &hotSpot).isNull())
                add(Finding::Error, relative(path),
                    tr("is not a cursor file the program can read: the plain hand pointer is shown instead"));
            continue;
        }
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.isNull()) {
            add(Finding::Error, relative(path), tr("cannot be read as a picture: %1").arg(reader.errorString()));
            continue;
        }
        if (name == QLatin1String("main.jpg") && image.size() != QSize(786, 632))
            add(Finding::Error, relative(path),
                tr("is %1 x %2 pixels; the window is 786 x 632").arg(image.width()).arg(image.height()));
    }
    // Newer controls' pictures: the program has its own, so a skin without
    // them is complete; one that has them must have readable ones.
    for (const QString &name : OptionalSkinFileNames()) {
        const QString path = ResolveSkinFile(folder, name);
        if (!QFileInfo(path).isFile())
            continue;
        use(relative(path));
        QImageReader reader(path);
        if (reader.read().isNull())
            add(Finding::Warning, relative(path),
                tr("cannot be read as a picture: the program's own is shown instead"));
    }
}

// ------------------------------------------------------------------ the pages

void CourseChecker::checkPage(const QString &relativePath, const QString &missingMessage)
{
    step();
    const QString page = QDir::cleanPath(relativePath);
    if (m_pagesChecked.contains(page))
        return;
    m_pagesChecked.insert(page);
    if (!exists(page)) {
        add(Finding::Error, page, missingMessage + caseHint(page));
        return;
    }
    use(page);
    const QByteArray bytes = readFile(absolute(page));
    const QByteArray head = bytes.left(2048).toLower();
    const bool declared = head.contains("charset") || head.startsWith("\xef\xbb\xbf") || head.startsWith("\xff\xfe")
        || head.startsWith("\xfe\xff");
    if (declared) {
        QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
        if (decoder.isValid()) {
            const QString text = decoder.decode(bytes);
            Q_UNUSED(text);
            if (decoder.hasError())
                add(Finding::Error, page,
                    tr("is not valid %1, the charset it declares: the page shows garbled letters")
                        .arg(QString::fromLatin1(decoder.name())));
        }
    } else if (!isAscii(bytes)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(bytes);
        Q_UNUSED(text);
        add(Finding::Warning, page,
            tr("declares no charset, so the program guesses %1; declare it in the page's head")
                .arg(utf8.hasError() ? QStringLiteral("Windows-1256") : QStringLiteral("UTF-8")));
    }
    checkPageReferences(page, bytes);
}

CourseChecker::References CourseChecker::ReferencesOf(const QByteArray &bytes)
{
    References refs;
    QStringList &pictures = refs.pictures;
    QStringList &links = refs.links;
    QTextDocument document;
    TextBrowserView::LoadPage(&document, bytes);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                pictures << format.toImageFormat().name();
            if (format.isAnchor() && !format.anchorHref().isEmpty())
                links << format.anchorHref();
        }
    }
    // Background pictures of the body, tables and cells leave no trace in the
    // document's text; they are taken from the markup, tag by tag so that a
    // page of unclosed tags costs no more than its length.
    static const QRegularExpression background(
        QStringLiteral("\\sbackground\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QString html = TextBrowserView::DecodePage(bytes);
    for (qsizetype open = html.indexOf(QLatin1Char('<')); open >= 0;) {
        const qsizetype close = html.indexOf(QLatin1Char('>'), open);
        const QStringView tag = QStringView(html).mid(open, close < 0 ? -1 : close - open);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        // The view form: the view overload of globalMatch is deprecated from 6.8.
        for (auto it = background.globalMatchView(tag); it.hasNext();) {
#else
        for (auto it = background.globalMatch(tag); it.hasNext();) {
#endif
            const QRegularExpressionMatch match = it.next();
            pictures << match.captured(1) + match.captured(2) + match.captured(3);
        }
        if (close < 0)
            break;
        open = html.indexOf(QLatin1Char('<'), close);
    }
    pictures.removeDuplicates();
    links.removeDuplicates();
    return refs;
}

// A relative name is taken from the page's own folder, as the page view takes it.
void CourseChecker::checkPageReferences(const QString &page, const QByteArray &bytes)
{
    const References refs = ReferencesOf(bytes);
    const QStringList &pictures = refs.pictures;
    const QStringList &links = refs.links;

    const QString pageFolder = QFileInfo(absolute(page)).absolutePath();
    const auto target = [&](const QString &reference, bool *local) {
        const QUrl url(reference);
        *local = url.scheme().isEmpty() || url.scheme() == QLatin1String("file");
        if (!*local)
            return QString();
        const QString path = url.isRelative() ? url.path() : url.toLocalFile();
        if (path.isEmpty())
            return QString();
        return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : pageFolder + QLatin1Char('/') + path);
    };

    for (const QString &picture : std::as_const(pictures)) {
        bool local = false;
        const QString path = target(picture, &local);
        if (!local) {
            if (!picture.startsWith(QLatin1String("data:")))
                add(Finding::Warning, page,
                    tr("the picture %1 is not in the course folder: the page view shows only local pictures")
                        .arg(picture));
            continue;
        }
        if (path.isEmpty())
            continue;
        const QString rel = relative(path);
        if (!QFileInfo(path).isFile()) {
            add(Finding::Error, page, tr("the picture %1 is missing").arg(picture) + caseHint(rel));
            continue;
        }
        use(rel);
        if (QImageReader(path).read().isNull())
            add(Finding::Error, rel, tr("cannot be read as a picture (shown on %1)").arg(page));
    }
    for (const QString &link : std::as_const(links)) {
        bool local = false;
        const QString path = target(link, &local);
        if (!local || path.isEmpty())
            continue;
        const QString rel = relative(path);
        if (!QFileInfo(path).isFile()) {
            add(Finding::Error, page,
                tr("the link to %1 leads nowhere: that file is missing").arg(link) + caseHint(rel));
            continue;
        }
        if (rel.startsWith(QLatin1String("../"))) {
            add(Finding::Warning, page, tr("the link to %1 leaves the course folder").arg(link));
            continue;
        }
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
            checkPage(rel, QString());
        else
            use(rel);
    }
}

// --------------------------------------------------------------- the examples

void CourseChecker::checkExample(const Page &page, int n)
{
    const QString base = page.base + QLatin1Char('-') + QString::number(n);
    const QString sound = ExamplesDir + base + QStringLiteral(".mp3");
    const QString text = TextDir + base + QStringLiteral(".txt");
    const QString gif = DataImagesDir + base + QStringLiteral(".gif");
    const QString jpg = DataImagesDir + base + QStringLiteral(".jpg");

    if (!exists(sound)) {
        if (exists(text)) {
            use(text);
            if (checkTextFile(text))
                checkWordTimes(base, WordTimes::WordsOf(firstLineOf(text)), 0);
            return;
        }
        add(Finding::Error, sound,
            tr("example %1 of \"%2\" has neither this sound nor its text %3: the learner is told a file is "
               "missing")
                    .arg(n)
                    .arg(page.title, text)
                + caseHint(sound) + caseHint(text));
        return;
    }
    use(sound);
    const SoundInfo info = ReadSoundInfo(absolute(sound));
    if (!info.readable) {
        add(Finding::Error, sound, tr("cannot be decoded or reports no duration: the example cannot be played"));
        return;
    }
    if (!info.title.isEmpty()) {
        checkWordTimes(base, WordTimes::WordsOf(info.title), info.duration);
        return;
    }
    const QString picture = exists(gif) ? gif : jpg;
    if (!exists(picture)) {
        add(Finding::Error, sound,
            tr("has no title tag and example %1 of \"%2\" has no picture %3 or %4: the learner is told a file is "
               "missing")
                    .arg(n)
                    .arg(page.title, gif, jpg)
                + caseHint(gif) + caseHint(jpg));
        return;
    }
    use(picture);
    QImageReader reader(absolute(picture));
    if (reader.read().isNull())
        add(Finding::Error, picture, tr("cannot be read as a picture: %1").arg(reader.errorString()));
    // A picture has no text to hold the words against: their times only.
    checkWordTimes(base, std::nullopt, info.duration);
}

QString CourseChecker::firstLineOf(const QString &relativePath) const
{
    return FromWindows1256(splitLines(readFile(absolute(relativePath))).value(0)).trimmed();
}

// The example's words and rules, when its author gave them.
void CourseChecker::checkWordTimes(const QString &base, const std::optional<QStringList> &words, double seconds)
{
    const QString wordsFile = ExamplesDir + base + WordTimes::WordsSuffix;
    const QString rulesFile = ExamplesDir + base + WordTimes::RulesSuffix;
    WordTimes::Track wordsTrack;
    if (exists(wordsFile)) {
        use(wordsFile);
        wordsTrack = WordTimes::Read(readFile(absolute(wordsFile)));
        for (const WordTimes::Problem &p : WordTimes::CheckWords(wordsTrack, words, seconds))
            add(Finding::Error, wordsFile, p.message, p.line);
    }
    if (exists(rulesFile)) {
        use(rulesFile);
        const WordTimes::Track rules = WordTimes::Read(readFile(absolute(rulesFile)));
        for (const WordTimes::Problem &p : WordTimes::CheckRules(rules, wordsTrack, seconds))
            add(Finding::Error, rulesFile, p.message, p.line);
    }
}

void CourseChecker::checkSound(const QString &relativePath)
{
    use(relativePath);
    if (!ReadSoundInfo(absolute(relativePath)).readable)
        add(Finding::Error, relativePath, tr("cannot be decoded or reports no duration: it is not played"));
}

bool CourseChecker::checkTextFile(const QString &relativePath)
{
    const QByteArray bytes = readFile(absolute(relativePath));
    const QString encoding = codePageProblem(bytes);
    if (!encoding.isEmpty()) {
        add(Finding::Error, relativePath, encoding);
        return false;
    }
    if (splitLines(bytes).value(0).trimmed().isEmpty())
        add(Finding::Warning, relativePath, tr("its first line is empty: the example shows no text"));
    return true;
}

// ------------------------------------------------ recordings, unreferenced files

void CourseChecker::checkRecordings()
{
    const QFileInfo rec(absolute(RecDir));
    if (rec.exists() && !rec.isDir()) {
        add(Finding::Error, RecDir, tr("is a file, not a folder: the learner's recordings cannot be saved"));
        return;
    }
    // A course folder this learner cannot write (an installed course, a shared
    // read-only copy) is no fault: the program keeps the takes in the learner's
    // own data folder then, and the checker asks the same question it asks.
    const FolderEnvironment env = FolderEnvironment::FromSystem();
    if (!env.writable(m_folder)) {
        m_recordingsFolder = ChooseCourseFolders(QString(), m_folder, env).data + QLatin1Char('/') + RecDir;
        return;
    }
    if (!rec.exists())
        return;
    QTemporaryFile probe(rec.absoluteFilePath() + QStringLiteral("/.rattil-check-XXXXXX"));
    if (!probe.open())
        add(Finding::Error, RecDir + QLatin1Char('/'),
            tr("cannot be written: the learner's recordings cannot be saved"));
}

void CourseChecker::checkUnreferenced()
{
    // Without a catalogue nothing can be said to refer to anything.
    const bool judge = m_haveCatalogue;
    QStringList unused;
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = relative(it.next());
        ++m_fileCount;
        if (!judge || m_used.contains(rel) || OwnFiles.contains(rel) || rel == RecDir
            || rel.startsWith(RecDir + QLatin1Char('/')))
            continue;
        unused << rel;
    }
    unused.sort();
    for (const QString &rel : std::as_const(unused))
        add(Finding::Warning, rel, tr("nothing in the course refers to this file"));
}

// ------------------------------------------------------- importing word timings

std::optional<QStringList> CourseChecker::exampleWords(const QString &base, double *seconds)
{
    *seconds = 0;
    const QString sound = ExamplesDir + base + QStringLiteral(".mp3");
    if (!exists(sound)) {
        const QString text = TextDir + base + QStringLiteral(".txt");
        if (!exists(text))
            return std::nullopt;
        return WordTimes::WordsOf(firstLineOf(text));
    }
    const SoundInfo info = ReadSoundInfo(absolute(sound));
    *seconds = info.duration;
    if (info.title.isEmpty())
        return std::nullopt;
    return WordTimes::WordsOf(info.title);
}

bool CourseChecker::ImportSegments(const QString &jsonPath, bool force)
{
    if (!QFileInfo(m_folder).isDir())
        return false;
    // The course's examples, as the check finds them; what the check would
    // say of the rest of the folder is not the import's business.
    checkContents();
    collectPages();
    m_findings.clear();
    m_written.clear();

    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly)) {
        add(Finding::Error, jsonPath, tr("cannot be read: %1").arg(file.errorString()));
        return true;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        add(Finding::Error, jsonPath,
            error.error != QJsonParseError::NoError
                ? tr("is not JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset)
                : tr("is not a JSON object of examples' base names"));
        return true;
    }
    const QJsonObject examples = document.object();
    for (auto it = examples.constBegin(); it != examples.constEnd(); ++it)
        importExample(jsonPath, it.key(), it.value(), force);
    return true;
}

void CourseChecker::importExample(const QString &source, const QString &base, const QJsonValue &timings, bool force)
{
    const QString page = base.section(QLatin1Char('-'), 0, -2);
    bool numbered = false;
    const int n = base.section(QLatin1Char('-'), -1).toInt(&numbered);
    const bool known = numbered && std::any_of(m_pages.cbegin(), m_pages.cend(), [&](const Page &p) {
        return p.base == page && n >= 1 && n <= qMin(p.examples, ExampleButtons);
    });
    if (!known) {
        add(Finding::Error, source, tr("\"%1\" names no example of the course").arg(base));
        return;
    }
    double seconds = 0;
    const std::optional<QStringList> words = exampleWords(base, &seconds);
    if (!words) {
        add(Finding::Error, source,
            tr("\"%1\": the example shows a picture or has no text, so there are no words to time").arg(base));
        return;
    }
    const auto fail
        = [&](const QString &why) { add(Finding::Error, source, QStringLiteral("\"%1\": ").arg(base) + why); };
    if (!timings.isArray()) {
        fail(tr("is not a list of [word position, start ms, end ms]"));
        return;
    }
    QList<std::optional<WordTimes::Label>> byPosition(words->size());
    for (const QJsonValue &entry : timings.toArray()) {
        const QJsonArray triple = entry.toArray();
        const bool numbers = entry.isArray() && triple.size() == 3
            && std::all_of(triple.cbegin(), triple.cend(), [](const QJsonValue &v) { return v.isDouble(); });
        const double position = numbers ? triple.at(0).toDouble() : 0;
        if (!numbers || position != std::floor(position)) {
            fail(tr("%1 is not [word position, start ms, end ms]")
                     .arg(QString::fromUtf8(QJsonDocument(QJsonArray { entry }).toJson(QJsonDocument::Compact))));
            return;
        }
        const int k = int(position);
        if (k < 1 || k > words->size()) {
            fail(tr("word position %1 is not one of the text's words, 1 to %2").arg(k).arg(words->size()));
            return;
        }
        if (byPosition[k - 1]) {
            fail(tr("word %1 is given twice").arg(k));
            return;
        }
        byPosition[k - 1] = WordTimes::Label { triple.at(1).toDouble() / 1000.0, triple.at(2).toDouble() / 1000.0,
            words->at(k - 1), k };
    }
    WordTimes::Track track;
    for (int k = 0; k < byPosition.size(); ++k) {
        if (!byPosition[k]) {
            // Never guessed: a word's time between its neighbours would be the
            // author's guess written down as if it were measured.
            fail(tr("word %1 (\"%2\") has no times").arg(k + 1).arg(words->at(k)));
            return;
        }
        track.labels << *byPosition[k];
    }
    const QList<WordTimes::Problem> problems = WordTimes::CheckWords(track, words, seconds);
    if (!problems.isEmpty()) {
        // Lines of a file not yet written: each problem names its word instead.
        for (const WordTimes::Problem &p : problems)
            fail(tr("word %1: %2").arg(p.line).arg(p.message));
        return;
    }
    const QString target = ExamplesDir + base + WordTimes::WordsSuffix;
    if (exists(target) && !force) {
        add(Finding::Error, target, tr("exists: not replaced without --force"));
        return;
    }
    // Whole or not at all: a replaced file is never left half written.
    QSaveFile out(absolute(target));
    const QByteArray bytes = WordTimes::Write(track.labels);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        add(Finding::Error, target, tr("cannot be written: %1").arg(out.errorString()));
        return;
    }
    m_written << target;
}
