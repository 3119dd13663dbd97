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

#include <algorithm>
#include <cmath>

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

// The word parts of a placeholder: after the spoken label, a soft hum for each
// word of the verse, with the spans of its rules held for their counts at a
// steady count length, so that the times the course tool writes are true of
// the sound it made.
namespace WordParts {

constexpr double CountSeconds = 0.25;
constexpr double LeadSeconds = 0.4; // after the label
constexpr double OnsetSeconds = 0.15;
constexpr double BodySeconds = 0.15;
constexpr double CodaSeconds = 0.1;
constexpr double GapSeconds = 0.08;

struct Span
{
    int word = 0; // from 1
    bool onward = false; // runs on into the next word
    QString label;
    double counts = 0;
};

// The spans of one example from the course's wordtimes.tsv; false when the
// example has none there.
bool Load(const QString &path, const QString &base, QVector<Span> &spans, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    int number = 0;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        ++number;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int word = f.value(1).toInt(&ok);
        const double counts = f.value(3).section(QLatin1Char('|'), 1, 1).toDouble();
        if (f.size() != 4 || !ok || word < 1 || (f[2] != QLatin1String("in") && f[2] != QLatin1String("on"))
            || counts <= 0) {
            error = QStringLiteral("%1:%2: not \"base<TAB>word<TAB>in|on<TAB>rule|counts\"").arg(path).arg(number);
            return false;
        }
        if (f[0] == base)
            spans.push_back({ word, f[2] == QLatin1String("on"), f[3], counts });
    }
    return true;
}

// The samples of a wave file as espeak-ng writes it: 16-bit mono PCM.
bool ReadWave(const QString &path, QVector<qint16> &samples, int &rate, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    const qsizetype fmt = bytes.indexOf("fmt ");
    const qsizetype data = bytes.indexOf("data");
    if (!bytes.startsWith("RIFF") || fmt < 0 || data < 0 || fmt + 24 > bytes.size()) {
        error = path + QStringLiteral(": not a wave file");
        return false;
    }
    const auto u16 = [&](qsizetype at) { return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8); };
    const auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    if (u16(fmt + 8) != 1 || u16(fmt + 10) != 1 || u16(fmt + 22) != 16) {
        error = path + QStringLiteral(": not 16-bit mono PCM");
        return false;
    }
    rate = int(u32(fmt + 12));
    // A length written as "to the end" by a streaming writer is read as that.
    const qsizetype start = data + 8;
    const qsizetype size = std::min<qsizetype>(u32(data + 4), bytes.size() - start);
    samples.resize(size / 2);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = qint16(u16(start + 2 * i));
    return true;
}

QByteArray Wave(const QVector<qint16> &samples, int rate)
{
    QByteArray out;
    const auto put16 = [&](quint16 v) { out += char(v & 0xFF), out += char(v >> 8); };
    const auto put32 = [&](quint32 v) { put16(quint16(v & 0xFFFF)), put16(quint16(v >> 16)); };
    const quint32 data = quint32(samples.size() * 2);
    out += "RIFF";
    put32(36 + data);
    out += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(quint32(rate));
    put32(quint32(rate * 2));
    put16(2);
    put16(16);
    out += "data";
    put32(data);
    for (qint16 s : samples)
        put16(quint16(s));
    return out;
}

// A soft hum of a few harmonics, faded in and out: a word's part.
void Hum(QVector<qint16> &samples, int rate, double seconds, double pitch)
{
    const int n = int(std::lround(seconds * rate));
    const int fade = std::min(n / 2, rate / 50);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / rate;
        const double gain = std::min({ 1.0, double(i) / std::max(1, fade), double(n - i) / std::max(1, fade) });
        const double v = std::sin(2 * M_PI * pitch * t) + 0.5 * std::sin(4 * M_PI * pitch * t)
            + 0.25 * std::sin(6 * M_PI * pitch * t);
        samples.push_back(qint16(std::lround(v * gain * 0.12 * 32767)));
    }
}

void Silence(QVector<qint16> &samples, int rate, double seconds)
{
    samples.insert(samples.size(), int(std::lround(seconds * rate)), 0);
}

QByteArray Label(double start, double end, const QString &text)
{
    return (QString::number(start, 'f', 3) + QLatin1Char('\t') + QString::number(end, 'f', 3) + QLatin1Char('\t') + text
        + QLatin1Char('\n'))
        .toUtf8();
}

// Appends the word parts to the label's samples and gives the times made.
void Append(QVector<qint16> &samples, int rate, const QStringList &words, const QVector<Span> &spans,
    QByteArray &wordsFile, QByteArray &rulesFile)
{
    const auto now = [&] { return double(samples.size()) / rate; };
    Silence(samples, rate, LeadSeconds);
    double carried = 0; // the half of a span that runs on from the word before
    QString carriedLabel;
    double carriedStart = 0;
    for (int k = 1; k <= words.size(); ++k) {
        // Each word its own pitch, so that the comparison tells them apart.
        const double pitch = 150 + 12 * (k % 6);
        const double start = now();
        if (carried > 0) {
            Hum(samples, rate, carried, pitch * 1.25);
            rulesFile += Label(carriedStart, now(), carriedLabel);
            carried = 0;
        }
        Hum(samples, rate, OnsetSeconds, pitch);
        bool held = false;
        for (const Span &s : spans) {
            if (s.word != k)
                continue;
            const double length = s.counts * CountSeconds;
            if (s.onward && k < words.size()) {
                carriedStart = now();
                Hum(samples, rate, length / 2, pitch * 1.25);
                carried = length / 2;
                carriedLabel = s.label;
            } else {
                const double from = now();
                Hum(samples, rate, length, pitch * 1.25);
                rulesFile += Label(from, now(), s.label);
            }
            held = true;
        }
        if (!held)
            Hum(samples, rate, BodySeconds, pitch);
        if (carried <= 0)
            Hum(samples, rate, CodaSeconds, pitch);
        wordsFile += Label(start, now(), words[k - 1]);
        if (carried <= 0)
            Silence(samples, rate, GapSeconds);
    }
    Silence(samples, rate, LeadSeconds);
}

} // namespace WordParts

// sound EXAMPLES VERSES BASE OUT: a spoken label of the example (never a
// recitation), tagged with the verse as title when the example shows its text
// from the tag, and with the placeholder reciter's name.
// The word parts after the label, and the times they were made at beside OUT.
bool withWordParts(const QString &wav, const ExampleList::Example &e, const QVector<WordParts::Span> &spans,
    const QString &out, QString &error)
{
    QVector<qint16> samples;
    int rate = 0;
    if (!WordParts::ReadWave(wav, samples, rate, error))
        return false;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList words;
    for (const QString &piece : e.verse.split(blanks, Qt::SkipEmptyParts)) {
        if (std::any_of(piece.cbegin(), piece.cend(), [](QChar c) { return c.isLetter(); }))
            words << piece;
    }
    for (const WordParts::Span &s : spans) {
        if (s.word > words.size()) {
            error = QStringLiteral("%1: word %2 of a verse of %3 words").arg(e.base).arg(s.word).arg(words.size());
            return false;
        }
    }
    QByteArray wordsFile, rulesFile;
    WordParts::Append(samples, rate, words, spans, wordsFile, rulesFile);
    const QString stem = out.left(out.lastIndexOf(QLatin1Char('.')));
    return WriteWhole(wav, WordParts::Wave(samples, rate), error)
        && WriteWhole(stem + QStringLiteral(".words"), wordsFile, error)
        && WriteWhole(stem + QStringLiteral(".rules"), rulesFile, error);
}

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
    QVector<WordParts::Span> spans;
    if (a.size() > 4 && !WordParts::Load(a[4], e->base, spans, error))
        return Fail(error);
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
        || !(spans.isEmpty() || withWordParts(wav, *e, spans, out, error))
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
    if (command == QLatin1String("sound") && (args.size() == 4 || args.size() == 5))
        return Sound(args);
    if (command == QLatin1String("page") && args.size() == 5)
        return Page(args);
    return Fail(QStringLiteral("usage: coursetool encode IN OUT\n"
                               "       coursetool verse-text EXAMPLES VERSES BASE OUT\n"
                               "       coursetool sound EXAMPLES VERSES BASE OUT [WORDTIMES]\n"
                               "       coursetool page IN OUT EXAMPLES VERSES utf8|1256"));
}
