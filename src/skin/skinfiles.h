// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

// Skin files are named by the program in more than one letter case ("SubtitleBack.jpg"
// and "Subtitleback.jpg" are the same file), as course folders made on
// case-blind file systems expect. These look a name up without regard to case.

// The path of the file in folder whose name matches name ignoring case; the
// exact path when nothing matches (so the caller's "missing" handling applies).
QString ResolveSkinFile(const QString &folder, const QString &name);

// Every file of the skin folder the window loads, named as the window names it.
// "SubtitleBack.jpg" is also asked for as "Subtitleback.jpg"; only the first
// spelling is listed.
QStringList SkinFileNames();

// Pictures of controls newer than most course folders: a skin may have them,
// and the program brings its own of the same size for one that does not.
QStringList OptionalSkinFileNames();

// A picture of the skin folder; a null pixmap when it is missing or unreadable.
// For an optional picture, the program's own in its place.
QPixmap LoadSkinPicture(const QString &folder, const QString &name);

class ActiveLink;
// Gives an image button its pictures at rest and under the pointer, and the
// size of the first; a button whose picture is missing keeps its size.
void SetButtonPictures(ActiveLink *button, const QString &folder, const QString &rest, const QString &hover);

// The pictures of the window at start, and those of what is hidden at start:
// the examples panel (the recorder strip, the example buttons, the meter) and
// the index's background.
enum class SkinPictures { FirstPage, HiddenAtStart };

// Starts decoding pictures of SkinFileNames() on a worker thread, so that the
// window's own building and the decoding share the processor's cores.
// LoadSkinPicture on that folder waits for its own picture only, and takes it
// (a second load of the same file reads the file again). The first page's
// pictures start the folder afresh; the others, asked for once the first page
// is up, are added to them, so that the first page holds none of them.
void PrefetchSkinPictures(const QString &folder, SkinPictures which = SkinPictures::FirstPage);

// A Windows cursor file (.cur) with its hot spot. Qt reads no .cur files, so this
// parses the format itself: PNG or DIB images of 1, 4, 8, 24 or 32 bits with
// their AND mask. Returns false when the file is missing or malformed.
bool LoadCursorFile(const QString &path, QCursor *cursor);
// The cursor's picture and hot spot from the file's bytes; a null image when the
// bytes are not a cursor this reader understands.
QImage DecodeCursor(const QByteArray &bytes, QPoint *hotSpot);
// The skin's hand cursor, or the platform's pointing hand when the file is absent.
QCursor SkinHandCursor(const QString &imagesPath);
