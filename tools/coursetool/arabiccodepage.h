// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The course's text files are 8-bit Windows-1256 with CR LF line ends, the form
// the program reads contents.ini, config.ini and the examples' .txt files in.
class ArabicCodePage final
{
public:
    // The text in Windows-1256 with every line ended by CR LF. Fails (returns
    // false and names the first character in error) when a character has no
    // place in the code page: a course file must never lose a letter silently.
    static bool Encode(const QString &text, QByteArray &bytes, QString &error);

    // A verse in the Uthmani script, written with what Windows-1256 carries:
    // letters, the short vowels, tanween, sukun and shadda. Open tanween marks
    // and a vowel with the small meem of iqlab become plain tanween, the wasla
    // alef a plain alef, the rounded sukun the sukun; recitation signs (small letters, pause marks, the superscript
    // alef) have no place in the code page and are left out.
    static QString SimplifyVerse(const QString &verse);

    // Decodes Windows-1256 bytes (for checks).
    static QString Decode(const QByteArray &bytes);
};
