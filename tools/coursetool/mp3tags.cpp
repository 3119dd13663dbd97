// SPDX-License-Identifier: GPL-3.0-or-later

#include "mp3tags.h"

#include <QFile>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tstring.h>

bool Mp3Tags::Write(const QString &path, const QString &title, const QString &artist, QString &error)
{
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData());
    if (!file.isValid()) {
        error = path + QStringLiteral(": not an MP3 file");
        return false;
    }
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    tag->setTitle(TagLib::String(title.toUtf8().constData(), TagLib::String::UTF8));
    tag->setArtist(TagLib::String(artist.toUtf8().constData(), TagLib::String::UTF8));
    if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers)) {
        error = path + QStringLiteral(": tags could not be written");
        return false;
    }
    return true;
}
