// SPDX-License-Identifier: GPL-3.0-or-later

#include "coursefolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

namespace {

bool isCourse(const QString &folder)
{
    return QFileInfo(folder + QStringLiteral("/contents.ini")).isFile();
}

// The XDG base folder, or its default under home when unset or not absolute
// (the base directory rules say a relative value is to be ignored).
QString baseFolder(const QString &value, const QString &home, const QString &fallback)
{
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(home + QLatin1Char('/') + fallback);
}

} // namespace

FolderEnvironment FolderEnvironment::FromSystem()
{
    FolderEnvironment env;
    env.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    env.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    env.xdgStateHome = qEnvironmentVariable("XDG_STATE_HOME");
    env.home = QDir::homePath();
    env.writable = [](const QString &folder) {
        // access() answers for this learner without writing anything; a folder
        // on a read-only mount says no even to root.
        const QByteArray path = QFile::encodeName(folder);
        return QFileInfo(folder).isDir() && ::access(path.constData(), W_OK | X_OK) == 0;
    };
    return env;
}

QString CourseDataName(const QString &courseFolder)
{
    const QString path = QDir::cleanPath(QFileInfo(courseFolder).absoluteFilePath());
    QString name = QFileInfo(path).fileName();
    name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+"), QRegularExpression::UseUnicodePropertiesOption),
        QStringLiteral("_"));
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QStringLiteral("course"));
    const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return name + QLatin1Char('-') + QString::fromLatin1(digest);
}

CourseFolders ChooseCourseFolders(const QString &executableDir, const QString &argument, const FolderEnvironment &env)
{
    CourseFolders f;
    const QString exe = QDir::cleanPath(executableDir);
    const QString installed = QDir::cleanPath(exe + QStringLiteral("/../share/rattil"));
    if (!argument.isEmpty()) {
        f.course = QDir::cleanPath(QFileInfo(argument).absoluteFilePath());
        if (!QFileInfo(f.course).isDir())
            f.error = QStringLiteral("لا يوجد مجلد بهذا الاسم: %1\nNo such folder: %1").arg(argument);
        else if (!isCourse(f.course))
            f.error = QStringLiteral("هذا المجلد ليس مجلد دورة (لا يوجد فيه contents.ini): %1\n"
                                     "This folder is not a course (it has no contents.ini): %1")
                          .arg(argument);
    } else if (isCourse(exe) || !isCourse(installed)) {
        // Beside the executable; also when no course is found anywhere, so that
        // the program says what is missing as it always has.
        f.course = exe;
    } else {
        f.course = installed;
        f.installed = true;
    }

    const QString name = CourseDataName(f.course);
    f.journals = baseFolder(env.xdgStateHome, env.home, QStringLiteral(".local/state")) + QStringLiteral("/rattil/")
        + name + QStringLiteral("/journals");
    if (!f.installed && env.writable && env.writable(f.course)) {
        f.data = f.course;
        f.config = f.course;
        return f;
    }
    f.data = baseFolder(env.xdgDataHome, env.home, QStringLiteral(".local/share")) + QStringLiteral("/rattil/") + name;
    f.config = baseFolder(env.xdgConfigHome, env.home, QStringLiteral(".config")) + QStringLiteral("/rattil/") + name;
    return f;
}
