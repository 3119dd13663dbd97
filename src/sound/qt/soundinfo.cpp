// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/api/soundinfo.h"

#include <QFile>

#include <taglib/fileref.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/taglib.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/wavfile.h>

namespace {

QString fromTag(const TagLib::String &s)
{
    return QString::fromStdWString(s.toWString()).trimmed();
}

SoundInfo infoOf(const TagLib::AudioProperties *properties, const TagLib::Tag *tag)
{
    SoundInfo info;
    if (!properties || properties->lengthInMilliseconds() <= 0)
        return info;
    info.readable = true;
    info.duration = properties->lengthInMilliseconds() / 1000.0;
    if (tag) {
        info.title = fromTag(tag->title());
        info.author = fromTag(tag->artist());
        info.comment = fromTag(tag->comment());
    }
    return info;
}

} // namespace

SoundInfo ReadSoundInfo(const QString &path)
{
    const QByteArray local = QFile::encodeName(path);
    const TagLib::FileRef ref(local.constData(), true, TagLib::AudioProperties::Accurate);
    if (ref.isNull())
        return {};
    SoundInfo info = infoOf(ref.audioProperties(), ref.tag());
    // A WAV's own comment is in its RIFF INFO list, which the file's main tag
    // (its ID3 one) does not show.
    if (auto *wav = dynamic_cast<TagLib::RIFF::WAV::File *>(ref.file()); wav && wav->hasInfoTag())
        info.comment = fromTag(wav->InfoTag()->comment());
    return info;
}

SoundInfo ReadSoundInfo(const QByteArray &bytes)
{
    TagLib::ByteVectorStream stream(TagLib::ByteVector(bytes.constData(), uint(bytes.size())));
#if TAGLIB_MAJOR_VERSION >= 2
    // TagLib 2 (Debian 13) takes the frame factory last, and ID3v2's by default.
    TagLib::MPEG::File file(&stream, true, TagLib::AudioProperties::Accurate);
#else
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), true, TagLib::AudioProperties::Accurate);
#endif
    if (!file.isValid())
        return {};
    return infoOf(file.audioProperties(), file.tag());
}
