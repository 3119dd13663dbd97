// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// One problem of a course folder, as an author reads it: where, how bad, what.
struct Finding
{
    enum Severity { Error, Warning };

    QString path; // relative to the course folder, "/" separated
    int line = 0; // 0: the file as a whole
    Severity severity = Error;
    QString message;

    // "path:line: error: message"; the severity word stays English in every
    // language so that editors and scripts can find the lines.
    QString Line() const;
};
