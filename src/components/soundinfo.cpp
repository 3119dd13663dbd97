#include "soundinfo.h"

#include <QFile>

#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tbytevectorstream.h>

namespace {

QString fromTag(const TagLib::String &s)
{
    return QString::fromStdWString(s.toWString()).trimmed();
}

SoundInfo infoOf(const TagLib::FileRef &ref)
{
    SoundInfo info;
    if (ref.isNull() || !ref.audioProperties() || ref.audioProperties()->lengthInMilliseconds() <= 0)
        return info;
    info.readable = true;
    info.duration = ref.audioProperties()->lengthInMilliseconds() / 1000.0;
    if (const TagLib::Tag *tag = ref.tag()) {
        info.title = fromTag(tag->title());
        info.author = fromTag(tag->artist());
    }
    return info;
}

} // namespace

SoundInfo ReadSoundInfo(const QString &path)
{
    const QByteArray local = QFile::encodeName(path);
    const TagLib::FileRef ref(local.constData(), true, TagLib::AudioProperties::Accurate);
    return infoOf(ref);
}

SoundInfo ReadSoundInfo(const QByteArray &bytes)
{
    TagLib::ByteVectorStream stream(TagLib::ByteVector(bytes.constData(), uint(bytes.size())));
    const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Accurate);
    return infoOf(ref);
}
