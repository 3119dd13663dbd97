// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

class SoundModule;

// Loads the sound library (see soundmodule.h) with Qt's plugin loader and
// keeps its SoundModule. Loaded once; the library stays loaded for the rest of the run,
// as what it made lives on in the window.
class SoundLibrary final
{
public:
    static inline const QString FileName = QStringLiteral("rattil-sound.so");

    SoundLibrary();
    ~SoundLibrary();

    // Where the library is looked for, in order: beside the program (the build's
    // application folder, a portable copy), then where it is installed, found
    // from the program's own folder (a package under any prefix) and at the
    // prefix it was built for.
    static QStringList Folders(const QString &programFolder);

    // The first library of the folders that loads, its module made; null when
    // none does, with Error() telling why.
    SoundModule *Load(const QStringList &folders);
    QString Error() const { return m_error; }

private:
    // Owned by the plugin's loader, which never unloads it.
    SoundModule *m_module = nullptr;
    QString m_error;
};
