// SPDX-License-Identifier: GPL-3.0-or-later

// Course builder: the steps of assembling the demo course that need more than a
// copy. Every command writes its output whole or not at all, so an interrupted
// build never leaves a half-made file that looks finished.
#include "arabiccodepage.h"
#include "examplelist.h"
#include "mp3tags.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextStream>

namespace {

const QString kArtist = QStringLiteral("قارئ تجريبي");

int Fail(const QString &message)
{
    QTextStream(stderr) << "coursetool: " << message << Qt::endl;
    return 1;
}

bool WriteWhole(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

bool Run(const QString &program, const QStringList &args, QString &error)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // lame writes empty tags and espeak-ng misreads Arabic under the C locale.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    if (!process.waitForStarted() || !process.waitForFinished(60000)) {
        error = program + QStringLiteral(": ") + process.errorString();
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = program + QStringLiteral(" failed with code %1").arg(process.exitCode());
        return false;
    }
    return true;
}

// encode IN OUT: a UTF-8 course text file in Windows-1256 with CR LF.
int Encode(const QStringList &a)
{
    QFile in(a[0]);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(a[0] + QStringLiteral(": ") + in.errorString());
    const QByteArray utf8 = in.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        return Fail(a[0] + QStringLiteral(": not UTF-8"));
    QByteArray bytes;
    QString error;
    if (!ArabicCodePage::Encode(text, bytes, error))
        return Fail(a[0] + QStringLiteral(": ") + error);
    if (!WriteWhole(a[1], bytes, error))
        return Fail(error);
    return 0;
}

const ExampleList::Example *FindExample(ExampleList &list, const QStringList &a, QString &error)
{
    if (!list.Load(a[0], a[1], error))
        return nullptr;
    const ExampleList::Example *e = list.Find(a[2]);
    if (!e)
        error = QStringLiteral("no example %1 in %2").arg(a[2], a[0]);
    return e;
}

// verse-text EXAMPLES VERSES BASE OUT: the example's text file, one line.
int VerseText(const QStringList &a)
{
    ExampleList list;
    QString error;
    const ExampleList::Example *e = FindExample(list, a, error);
    if (!e)
        return Fail(error);
    QByteArray bytes;
    if (!ArabicCodePage::Encode(ArabicCodePage::SimplifyVerse(e->verse) + QLatin1Char('\n'), bytes, error))
        return Fail(e->reference + QStringLiteral(": ") + error);
    if (!WriteWhole(a[3], bytes, error))
        return Fail(error);
    return 0;
}

// sound EXAMPLES VERSES BASE OUT: a spoken label of the example (never a
// recitation), tagged with the verse as title when the example shows its text
// from the tag, and with the placeholder reciter's name.
int Sound(const QStringList &a)
{
    ExampleList list;
    QString error;
    const ExampleList::Example *e = FindExample(list, a, error);
    if (!e)
        return Fail(error);
    const QString label = ExampleList::Label(e->base);
    if (label.isEmpty())
        return Fail(QStringLiteral("malformed example name ") + e->base);

    const QString out = a[3];
    const QString wav = out + QStringLiteral(".wav.tmp");
    const QString mp3 = out + QStringLiteral(".tmp");
    auto cleanUp = [&] {
        QFile::remove(wav);
        QFile::remove(mp3);
    };
    if (!Run(QStringLiteral("espeak-ng"),
            { QStringLiteral("-v"), QStringLiteral("ar"), QStringLiteral("-s"), QStringLiteral("140"),
                QStringLiteral("-w"), wav, label },
            error)
        // -t leaves out the LAME info frame, which GStreamer's decoder turns into
        // an empty buffer with a critical assertion each time an example plays.
        || !Run(QStringLiteral("lame"),
            { QStringLiteral("--quiet"), QStringLiteral("-t"), QStringLiteral("-m"), QStringLiteral("m"),
                QStringLiteral("-b"), QStringLiteral("48"), wav, mp3 },
            error)) {
        cleanUp();
        return Fail(error);
    }
    const QString title = e->show == ExampleList::Show::Tag ? e->verse : QString();
    if (!Mp3Tags::Write(mp3, title, kArtist, error)) {
        cleanUp();
        return Fail(error);
    }
    QFile::remove(out);
    if (!QFile::rename(mp3, out)) {
        cleanUp();
        return Fail(out + QStringLiteral(": could not be written"));
    }
    QFile::remove(wav);
    return 0;
}

QString ArabicIndic(int n)
{
    QString s = QString::number(n);
    for (QChar &c : s)
        c = QChar(0x0660 + (c.unicode() - '0'));
    return s;
}

// The table of a page's examples, numbered as the example buttons are.
QString ExamplesTable(const ExampleList &list, const QString &prefix, bool plainSpelling)
{
    QMap<int, const ExampleList::Example *> rows;
    for (const ExampleList::Example &e : list.Examples()) {
        if (!e.base.startsWith(prefix))
            continue;
        bool ok = false;
        const int n = e.base.mid(prefix.size()).toInt(&ok);
        if (ok)
            rows.insert(n, &e);
    }
    QString html = QStringLiteral("<table dir=\"rtl\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"5\" "
                                  "style=\"border-color:#C9A34E; border-style:solid\">\n"
                                  "<tr bgcolor=\"#17402F\"><th width=\"12%\"><font color=\"#E9CC7E\">المثال</font></th>"
                                  "<th><font color=\"#E9CC7E\">الآية</font></th>"
                                  "<th width=\"22%\"><font color=\"#E9CC7E\">موضعها</font></th></tr>\n");
    // Windows-1256 has no Arabic-Indic digits; its pages keep the ASCII ones.
    const auto number = [plainSpelling](int n) { return plainSpelling ? QString::number(n) : ArabicIndic(n); };
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        const ExampleList::Example &e = *it.value();
        const QString verse = plainSpelling ? ArabicCodePage::SimplifyVerse(e.verse) : e.verse;
        const QStringList ref = e.reference.split(QLatin1Char(':'));
        html += QStringLiteral("<tr bgcolor=\"%1\"><td align=\"center\"><b>%2</b></td>"
                               "<td align=\"center\"><font face=\"Amiri Quran\" size=\"+2\">%3</font></td>"
                               "<td align=\"center\">%4: %5</td></tr>\n")
                    .arg(it.key() % 2 ? QStringLiteral("#FBF7EC") : QStringLiteral("#F3EAD2"), number(it.key()),
                        verse.toHtmlEscaped(), e.sura, number(ref.value(1).toInt()));
    }
    html += QStringLiteral("</table>");
    return html;
}

// page IN OUT EXAMPLES VERSES utf8|1256: a lesson page with its examples table
// (in place of the marker <!--EXAMPLES-->), written in UTF-8 or Windows-1256.
int Page(const QStringList &a)
{
    QFile in(a[0]);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(a[0] + QStringLiteral(": ") + in.errorString());
    QString html = QString::fromUtf8(in.readAll());
    const bool cp1256 = a[4] == QLatin1String("1256");
    const QString marker = QStringLiteral("<!--EXAMPLES-->");
    QString error;
    if (html.contains(marker)) {
        static const QRegularExpression name(QStringLiteral("^Ch(\\d+)-(\\d+)(?:-(\\d+))?\\.htm$"));
        const QRegularExpressionMatch m = name.match(QFileInfo(a[0]).fileName());
        if (!m.hasMatch())
            return Fail(a[0] + QStringLiteral(": only lesson pages carry examples"));
        QString prefix = m.captured(1) + QLatin1Char('-') + m.captured(2) + QLatin1Char('-');
        if (!m.captured(3).isEmpty())
            prefix += m.captured(3) + QLatin1Char('-');
        ExampleList list;
        if (!list.Load(a[2], a[3], error))
            return Fail(error);
        html.replace(marker, ExamplesTable(list, prefix, cp1256));
    }
    QByteArray bytes;
    if (cp1256) {
        if (!ArabicCodePage::Encode(html, bytes, error))
            return Fail(a[0] + QStringLiteral(": ") + error);
    } else {
        bytes = html.toUtf8();
    }
    if (!WriteWhole(a[1], bytes, error))
        return Fail(error);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("encode") && args.size() == 2)
        return Encode(args);
    if (command == QLatin1String("verse-text") && args.size() == 4)
        return VerseText(args);
    if (command == QLatin1String("sound") && args.size() == 4)
        return Sound(args);
    if (command == QLatin1String("page") && args.size() == 5)
        return Page(args);
    return Fail(QStringLiteral("usage: coursetool encode IN OUT\n"
                               "       coursetool verse-text EXAMPLES VERSES BASE OUT\n"
                               "       coursetool sound EXAMPLES VERSES BASE OUT\n"
                               "       coursetool page IN OUT EXAMPLES VERSES utf8|1256"));
}
