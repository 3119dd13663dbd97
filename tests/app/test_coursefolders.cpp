// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/coursefolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A tree with a program folder, an installed course beside it, another course
// and a folder that is no course; rows say which of them hold a contents.ini.
class TestCourseFolders final : public QObject
{
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void dataNamesKeepCoursesApart();
};

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

void TestCourseFolders::choice_data()
{
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("installedCourse");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("xdgData");
    QTest::addColumn<QString>("xdgConfig");
    // Relative to the tree; "XDG" stands for the learner's folders named below.
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("config");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("error");

    QTest::newRow("portable and writable") << true << true << "" << true << "/x/data"
                                           << "/x/conf"
                                           << "prefix/bin"
                                           << "prefix/bin"
                                           << "prefix/bin" << false << false;
    QTest::newRow("portable on a read-only folder") << true << false << "" << false << "/x/data"
                                                    << "/x/conf"
                                                    << "prefix/bin"
                                                    << "/x/data/rattil/bin-"
                                                    << "/x/conf/rattil/bin-" << false << false;
    QTest::newRow("installed, even where root could write") << false << true << "" << true << "/x/data"
                                                            << "/x/conf"
                                                            << "prefix/share/rattil"
                                                            << "/x/data/rattil/rattil-"
                                                            << "/x/conf/rattil/rattil-" << true << false;
    QTest::newRow("installed, XDG unset") << false << true << "" << false << ""
                                          << ""
                                          << "prefix/share/rattil"
                                          << "home/.local/share/rattil/rattil-"
                                          << "home/.config/rattil/rattil-" << true << false;
    QTest::newRow("installed, relative XDG ignored") << false << true << "" << false << "rel/data"
                                                     << "rel/conf"
                                                     << "prefix/share/rattil"
                                                     << "home/.local/share/rattil/rattil-"
                                                     << "home/.config/rattil/rattil-" << true << false;
    QTest::newRow("argument given") << true << true << "mine" << true << "/x/data"
                                    << "/x/conf"
                                    << "mine"
                                    << "mine"
                                    << "mine" << false << false;
    QTest::newRow("argument read-only") << false << true << "mine" << false << "/x/data"
                                        << "/x/conf"
                                        << "mine"
                                        << "/x/data/rattil/mine-"
                                        << "/x/conf/rattil/mine-" << false << false;
    QTest::newRow("argument is no course") << true << true << "empty" << true << ""
                                           << ""
                                           << "empty"
                                           << ""
                                           << "" << false << true;
    QTest::newRow("argument does not exist") << true << true << "nowhere" << true << ""
                                             << ""
                                             << "nowhere"
                                             << ""
                                             << "" << false << true;
    QTest::newRow("no course anywhere: beside the program, which says what is missing")
        << false << false << "" << true << ""
        << ""
        << "prefix/bin"
        << "prefix/bin"
        << "prefix/bin" << false << false;
}

void TestCourseFolders::choice()
{
    QFETCH(bool, besideProgram);
    QFETCH(bool, installedCourse);
    QFETCH(QString, argument);
    QFETCH(bool, writable);
    QFETCH(QString, xdgData);
    QFETCH(QString, xdgConfig);
    QFETCH(QString, course);
    QFETCH(QString, data);
    QFETCH(QString, config);
    QFETCH(bool, installed);
    QFETCH(bool, error);

    QTemporaryDir tree;
    const QString root = tree.path() + QLatin1Char('/');
    QDir().mkpath(root + "prefix/bin");
    QDir().mkpath(root + "empty");
    touch(root + "mine/contents.ini");
    if (besideProgram)
        touch(root + "prefix/bin/contents.ini");
    if (installedCourse)
        touch(root + "prefix/share/rattil/contents.ini");

    FolderEnvironment env;
    env.xdgDataHome = xdgData;
    env.xdgConfigHome = xdgConfig;
    env.home = root + "home";
    QStringList asked;
    env.writable = [&](const QString &folder) {
        asked << folder;
        return writable;
    };
    const CourseFolders f
        = ChooseCourseFolders(root + "prefix/bin", argument.isEmpty() ? QString() : root + argument, env);

    const auto full = [&root](const QString &p) { return p.startsWith('/') ? p : root + p; };
    QCOMPARE(f.course, QDir::cleanPath(full(course)));
    QCOMPARE(!f.error.isEmpty(), error);
    QCOMPARE(f.installed, installed);
    if (error)
        return;
    // The learner's folders end in the course's own name and a digest of its path.
    const QString name = CourseDataName(f.course);
    const auto expected
        = [&](const QString &p) { return p.endsWith('-') ? full(p).section('/', 0, -2) + '/' + name : full(p); };
    QCOMPARE(f.data, QDir::cleanPath(expected(data)));
    QCOMPARE(f.config, QDir::cleanPath(expected(config)));
    // Journals of takes that rec/ cannot hold go to the learner's state folder,
    // portable or installed, each course to its own.
    QCOMPARE(f.journals, root + "home/.local/state/rattil/" + name + "/journals");
    // An installed course is never a place for the learner's files, so it is not even asked about.
    QCOMPARE(asked.contains(f.course), !installed);
}

void TestCourseFolders::dataNamesKeepCoursesApart()
{
    QTemporaryDir tree;
    const QString a = tree.path() + "/one/course";
    const QString b = tree.path() + "/two/course";
    QCOMPARE(CourseDataName(a), CourseDataName(a + "/"));
    QVERIFY(CourseDataName(a) != CourseDataName(b));
    QVERIFY(CourseDataName(a).startsWith("course-"));
    // Whatever the folder is called, the name is one safe path segment.
    const QString odd = CourseDataName(tree.path() + "/دورة التجويد ../x y");
    QVERIFY(!odd.contains('/') && !odd.contains(' '));
    QVERIFY(!CourseDataName("/").startsWith('-'));
}

QTEST_GUILESS_MAIN(TestCourseFolders)
#include "test_coursefolders.moc"
