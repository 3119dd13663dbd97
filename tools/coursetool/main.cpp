// Course builder: the steps of assembling the demo course that need more than a
// copy. Every command writes its output whole or not at all, so an interrupted
// build never leaves a half-made file that looks finished.
#include "arabiccodepage.h"
#include "examplelist.h"
#include "mp3tags.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
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
    if (!ArabicCodePage::Encode(ArabicCodePage::SimplifyVerse(e->verse) + QLatin1Char('\n'),
                                bytes, error))
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
             {QStringLiteral("-v"), QStringLiteral("ar"), QStringLiteral("-s"), QStringLiteral("140"),
              QStringLiteral("-w"), wav, label},
             error)
        || !Run(QStringLiteral("lame"),
                {QStringLiteral("--quiet"), QStringLiteral("-m"), QStringLiteral("m"),
                 QStringLiteral("-b"), QStringLiteral("48"), wav, mp3},
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
    return Fail(QStringLiteral("usage: coursetool encode IN OUT\n"
                               "       coursetool verse-text EXAMPLES VERSES BASE OUT\n"
                               "       coursetool sound EXAMPLES VERSES BASE OUT"));
}
