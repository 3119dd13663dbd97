// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <functional>

// Where the course is read from and where the learner's own files go.
//
// Portable (a course beside the executable, or one named on the command line):
// the recordings and savedoptions.ini sit beside the course, as they always
// have, when that folder can be written. Installed (the course under the
// prefix's share/rattil) or any course folder that cannot be written: they go
// to the learner's XDG folders, under a name of the course's own so that two
// courses never share recordings. Nothing is ever written into a read-only
// course, and no write is tried there first.
struct CourseFolders
{
    QString course;
    // Holds rec/.
    QString data;
    // Holds savedoptions.ini.
    QString config;
    // Where a take's journal goes when the takes' folder cannot be written
    // (always the learner's XDG state folder, whether portable or installed).
    QString journals;
    bool installed = false;
    // Set when a folder named on the command line is not a course.
    QString error;
};

struct FolderEnvironment
{
    // Empty when unset.
    QString xdgDataHome;
    QString xdgConfigHome;
    QString xdgStateHome;
    QString home;
    // Whether the learner may write in a folder; the real one asks the file system.
    std::function<bool(const QString &folder)> writable;

    static FolderEnvironment FromSystem();
};

// argument: the folder named on the command line, or empty.
CourseFolders ChooseCourseFolders(const QString &executableDir, const QString &argument, const FolderEnvironment &env);

// A stable name for a course folder's learner files: its own name, made safe
// for a path, and a short digest of its full path.
QString CourseDataName(const QString &courseFolder);
