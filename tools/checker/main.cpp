// SPDX-License-Identifier: GPL-3.0-or-later

// rattil-check: lists every problem of a course folder, one line each, so that
// an author can fix them all before a learner meets any.
#include "coursechecker.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTranslator>

#include <cstdio>
#include <unistd.h>

namespace {

// The language of messages follows the locale variables in their usual order
// of precedence; Arabic when that locale is Arabic.
bool arabicWanted()
{
    for (const char *variable : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return value.startsWith("ar");
    }
    return false;
}

// Qt's own notes (a missing runtime folder, a font cache) are not the author's
// concern and would break the one-line-per-problem output.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts are looked up the way the window looks them up, which needs the GUI
    // library; no display is needed for that.
    qInstallMessageHandler(quiet);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rattil-check"));

    QTranslator translator;
    if (arabicWanted() && translator.load(QStringLiteral(":/i18n/rattil-check_ar.qm")))
        QCoreApplication::installTranslator(&translator);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Checks a course folder: every file the program will look for, in the form it reads it."));
    parser.addHelpOption();
    const QCommandLineOption json(
        QStringLiteral("json"), QCoreApplication::translate("main", "Print the findings as JSON."));
    const QCommandLineOption strict(
        QStringLiteral("strict"), QCoreApplication::translate("main", "Count warnings as errors."));
    const QCommandLineOption importSegments(QStringLiteral("import-segments"),
        QCoreApplication::translate("main",
            "Write the examples' .words files from word timings in the segments form (a JSON object of base names "
            "and [[word position, start ms, end ms], ...]), checked against each example's text."),
        QStringLiteral("FILE.json"));
    const QCommandLineOption force(
        QStringLiteral("force"), QCoreApplication::translate("main", "With --import-segments: replace .words files."));
    parser.addOption(json);
    parser.addOption(strict);
    parser.addOption(importSegments);
    parser.addOption(force);
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"), QCoreApplication::translate("main", "The course folder (beside the program)."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        print(stderr, parser.helpText());
        return 2;
    }
    const QString folder = parser.positionalArguments().constFirst();

    // A progress line only where someone watches, and only once the wait is felt.
    const bool terminal = isatty(fileno(stderr));
    QElapsedTimer clock;
    clock.start();
    bool progressShown = false;
    const auto progress = [&](int done, int total) {
        if (!terminal || clock.elapsed() < 1000)
            return;
        progressShown = true;
        print(stderr,
            QStringLiteral("\r%1").arg(
                QCoreApplication::translate("main", "checking %1 of %2 ...").arg(done).arg(total)));
    };

    CourseChecker checker(folder);
    if (parser.isSet(importSegments)) {
        if (!checker.ImportSegments(parser.value(importSegments), parser.isSet(force))) {
            print(stderr, QCoreApplication::translate("main", "%1: no such folder\n").arg(folder));
            return 2;
        }
        for (const Finding &f : checker.Findings())
            print(stdout, f.Line() + QLatin1Char('\n'));
        for (const QString &written : checker.Written())
            print(stdout, QCoreApplication::translate("main", "%1: written\n").arg(written));
        print(stdout,
            QCoreApplication::translate("main", "%1 errors, %2 files written\n")
                .arg(checker.ErrorCount())
                .arg(checker.Written().size()));
        return checker.ErrorCount() > 0 ? 1 : 0;
    }
    const bool checked = checker.Run(progress);
    if (progressShown)
        print(stderr, QStringLiteral("\r\033[K"));
    if (!checked) {
        print(stderr, QCoreApplication::translate("main", "%1: no such folder\n").arg(folder));
        return 2;
    }

    const int errors = checker.ErrorCount();
    const int warnings = checker.WarningCount();
    if (parser.isSet(json)) {
        QJsonArray findings;
        for (const Finding &f : checker.Findings()) {
            QJsonObject o { { QStringLiteral("path"), f.path },
                { QStringLiteral("severity"),
                    f.severity == Finding::Error ? QStringLiteral("error") : QStringLiteral("warning") },
                { QStringLiteral("message"), f.message } };
            if (f.line > 0)
                o.insert(QStringLiteral("line"), f.line);
            findings.append(o);
        }
        QJsonObject report { { QStringLiteral("folder"), folder }, { QStringLiteral("errors"), errors },
            { QStringLiteral("warnings"), warnings }, { QStringLiteral("files"), checker.FileCount() },
            { QStringLiteral("findings"), findings } };
        if (!checker.RecordingsFolder().isEmpty())
            report.insert(QStringLiteral("recordings"), checker.RecordingsFolder());
        print(stdout, QString::fromUtf8(QJsonDocument(report).toJson(QJsonDocument::Indented)));
    } else {
        for (const Finding &f : checker.Findings())
            print(stdout, f.Line() + QLatin1Char('\n'));
        print(stdout,
            QCoreApplication::translate("main", "%1 errors, %2 warnings in %3 files\n")
                .arg(errors)
                .arg(warnings)
                .arg(checker.FileCount()));
        if (!checker.RecordingsFolder().isEmpty())
            print(stdout,
                QCoreApplication::translate(
                    "main", "the course folder cannot be written: this learner's recordings go to %1\n")
                    .arg(checker.RecordingsFolder()));
    }
    const bool failed = errors > 0 || (parser.isSet(strict) && warnings > 0);
    return failed ? 1 : 0;
}
