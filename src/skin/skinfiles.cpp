// SPDX-License-Identifier: GPL-3.0-or-later

#include "skin/skinfiles.h"

#include "widgets/activelink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <condition_variable>
#include <future>
#include <mutex>

QString ResolveSkinFile(const QString &folder, const QString &name)
{
    const QString exact = folder + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + entry;
    }
    return exact;
}

QStringList SkinFileNames()
{
    QStringList names = { "main.jpg", "Exit.jpg", "ExitMouseOver.jpg", "Minimize.jpg", "MinimizeMouseOver.jpg",
        "WaveVol.jpg", "WaveVolOver.jpg", "WaveMute.jpg", "WaveMuteOver.jpg", "MicVol.jpg", "MicVolOver.jpg",
        "MicMute.jpg", "MicMuteOver.jpg", "volume.jpg", "volumeActive.jpg", "volumeup.jpg", "volumeupactive.jpg",
        "volumedown.jpg", "volumedownactive.jpg", "SamplesBar.jpg", "SamplesBarUp.jpg", "SamplesBarUpActive.jpg",
        "SamplesBarDown.jpg", "SamplesBarDownActive.jpg", "scrollup.jpg", "scrollupActive.jpg", "scrolldown.jpg",
        "scrolldownActive.jpg", "ScrollPosition.jpg", "ScrollPositionActive.jpg", "ScrollLine.jpg", "Play.jpg",
        "PlayOver.jpg", "Rec.jpg", "recOver.jpg", "Pause.jpg", "PauseOver.jpg", "Stop.jpg", "StopOver.jpg",
        "Listen.jpg", "ListenOver.jpg", "RecBack.jpg", "back.gif", "HandCursor.cur", "Title.jpg", "TitleMouseOver.jpg",
        "TitleSelected.jpg", "SubtitleBack.jpg", "SubtitleMouseOver.jpg", "SubtitleActive.jpg", "slider.jpg",
        "VLine.jpg", "Menuscrollup.jpg", "MenuscrollupActive.jpg", "Menuscrolldown.jpg", "MenuscrolldownActive.jpg",
        "msgok.jpg", "msgokover.jpg" };
    for (int i = 1; i <= 13; ++i)
        names << QStringLiteral("N%1.jpg").arg(i) << QStringLiteral("N%1MouseOver.jpg").arg(i)
              << QStringLiteral("N%1Selected.jpg").arg(i);
    for (int i = 1; i <= 8; ++i)
        names << QStringLiteral("vm%1.jpg").arg(i);
    return names;
}

QStringList OptionalSkinFileNames()
{
    return { "Speed.jpg", "SpeedOver.jpg", "Repeat.jpg", "RepeatOver.jpg" };
}

namespace {

// Only the window's thread loads skin pictures; the worker decodes them in the
// order of the lists and hands each over as it is done, so that a load waits
// for its own picture only.
struct Prefetched
{
    QString folder;
    std::mutex lock;
    std::condition_variable decoded;
    // Names the worker has still to decode, and the pictures it has decoded
    // that no load has taken yet.
    QSet<QString> pending;
    QHash<QString, QImage> pictures;
    // Set when the application ends: the image plugins the worker reads with
    // go away with it, so the worker stops and is waited for then.
    bool stop = false;
    std::future<void> worker;
};

Prefetched &prefetched()
{
    static Prefetched p;
    return p;
}

void finishPrefetch()
{
    Prefetched &p = prefetched();
    {
        const std::lock_guard<std::mutex> hold(p.lock);
        p.stop = true;
    }
    if (p.worker.valid())
        p.worker.wait();
}

} // namespace

void PrefetchSkinPictures(const QString &folder, SkinPictures which)
{
    Prefetched &p = prefetched();
    if (p.worker.valid())
        p.worker.wait();
    // The recorder strip, the example buttons, the meter and the index's
    // background are hidden at start.
    const auto hidden = [](const QString &name) {
        if (name.compare(QLatin1String("back.gif"), Qt::CaseInsensitive) == 0)
            return true;
        for (const char *word : { "Play", "Rec", "Pause", "Stop", "Listen", "Speed", "Repeat" }) {
            if (name.startsWith(QLatin1String(word), Qt::CaseInsensitive))
                return true;
        }
        const auto digitAt = [&](int i) { return name.size() > i && name[i].isDigit() && name[i].unicode() < 0x80; };
        return (name.startsWith(QLatin1Char('N'), Qt::CaseInsensitive) && digitAt(1))
            || (name.startsWith(QLatin1String("vm"), Qt::CaseInsensitive) && digitAt(2));
    };
    QStringList names;
    // The cursor is read by our own decoder, on the window's thread.
    for (const QString &name : SkinFileNames() + OptionalSkinFileNames()) {
        if ((name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)
                || name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
            && hidden(name) == (which == SkinPictures::HiddenAtStart))
            names << name;
    }
    {
        const std::lock_guard<std::mutex> hold(p.lock);
        if (which == SkinPictures::FirstPage) {
            p.folder = folder;
            p.pictures.clear();
            p.pending.clear();
        } else if (p.folder != folder) {
            return;
        }
        for (const QString &name : std::as_const(names)) {
            if (!p.pictures.contains(name))
                p.pending.insert(name);
        }
        p.stop = false;
    }
    qRemovePostRoutine(finishPrefetch);
    qAddPostRoutine(finishPrefetch);
    p.worker = std::async(std::launch::async, [&p, folder, names] {
        for (const QString &name : names) {
            {
                const std::lock_guard<std::mutex> hold(p.lock);
                if (p.stop) {
                    // What is left is read on the window's thread, if asked for.
                    p.pending.clear();
                    p.decoded.notify_all();
                    return;
                }
                if (!p.pending.contains(name))
                    continue;
            }
            QImage image(ResolveSkinFile(folder, name));
            const std::lock_guard<std::mutex> hold(p.lock);
            if (!image.isNull())
                p.pictures.insert(name, std::move(image));
            p.pending.remove(name);
            p.decoded.notify_all();
        }
    });
}

QPixmap LoadSkinPicture(const QString &folder, const QString &name)
{
    Prefetched &p = prefetched();
    QImage image;
    {
        std::unique_lock<std::mutex> hold(p.lock);
        if (p.folder == folder) {
            p.decoded.wait(hold, [&] { return !p.pending.contains(name); });
            image = p.pictures.take(name);
        }
    }
    if (!image.isNull())
        return QPixmap::fromImage(std::move(image));
    const QString path = ResolveSkinFile(folder, name);
    QPixmap pixmap;
    pixmap.load(path);
    if (pixmap.isNull() && OptionalSkinFileNames().contains(name))
        pixmap.load(QStringLiteral(":/skin/") + name);
    return pixmap;
}

namespace {

quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// One DIB image of an icon or cursor file: colour bits then the 1-bit AND mask,
// both bottom-up, each row padded to 4 bytes; the header's height counts both.
QImage decodeDib(const QByteArray &data)
{
    if (data.size() < 40 || u32(data, 0) < 40)
        return {};
    const qint32 width = qint32(u32(data, 4));
    const qint32 height = qint32(u32(data, 8)) / 2;
    const int bpp = u16(data, 14);
    const quint32 compression = u32(data, 16);
    quint32 colorsUsed = u32(data, 32);
    if (width <= 0 || height <= 0 || width > 256 || height > 256 || compression != 0)
        return {};
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return {};
    qsizetype at = u32(data, 0);
    QVector<QRgb> palette;
    if (bpp <= 8) {
        if (colorsUsed == 0)
            colorsUsed = 1u << bpp;
        if (at + qsizetype(colorsUsed) * 4 > data.size())
            return {};
        for (quint32 i = 0; i < colorsUsed; ++i, at += 4)
            palette << qRgb(uchar(data[at + 2]), uchar(data[at + 1]), uchar(data[at]));
    }
    const qsizetype xorStride = ((qsizetype(width) * bpp + 31) / 32) * 4;
    const qsizetype andStride = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype xorAt = at;
    const qsizetype andAt = xorAt + xorStride * height;
    if (andAt > data.size())
        return {};
    const bool haveMask = andAt + andStride * height <= data.size();

    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uchar *row = reinterpret_cast<const uchar *>(data.constData() + xorAt + xorStride * (height - 1 - y));
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb c = 0;
            if (bpp == 32) {
                c = qRgba(row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3]);
                anyAlpha = anyAlpha || qAlpha(c) != 0;
            } else if (bpp == 24) {
                c = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
            } else {
                const int perByte = 8 / bpp;
                const int shift = (perByte - 1 - x % perByte) * bpp;
                const int index = (row[x / perByte] >> shift) & ((1 << bpp) - 1);
                c = index < palette.size() ? palette.at(index) : 0;
            }
            out[x] = c;
        }
    }
    // Images without their own alpha take transparency from the AND mask.
    if (!anyAlpha && haveMask) {
        for (int y = 0; y < height; ++y) {
            const uchar *mask
                = reinterpret_cast<const uchar *>(data.constData() + andAt + andStride * (height - 1 - y));
            QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
                out[x] = transparent ? 0 : (out[x] | 0xFF000000u);
            }
        }
    }
    return image;
}

} // namespace

QImage DecodeCursor(const QByteArray &b, QPoint *hotSpot)
{
    if (b.size() < 22 || u16(b, 0) != 0 || u16(b, 2) != 2 || u16(b, 4) == 0)
        return {};
    // The first image is the cursor; further sizes are for other screens.
    const int hotX = u16(b, 6 + 4);
    const int hotY = u16(b, 6 + 6);
    const quint32 size = u32(b, 6 + 8);
    const quint32 offset = u32(b, 6 + 12);
    if (qint64(offset) + qint64(size) > b.size() || size == 0)
        return {};
    const QByteArray data = b.mid(offset, size);
    QImage image;
    if (data.startsWith("\x89PNG"))
        image.loadFromData(data, "PNG");
    else
        image = decodeDib(data);
    if (image.isNull())
        return {};
    *hotSpot = QPoint(qBound(0, hotX, image.width() - 1), qBound(0, hotY, image.height() - 1));
    return image;
}

bool LoadCursorFile(const QString &path, QCursor *cursor)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1 << 20)
        return false;
    QPoint hotSpot;
    const QImage image = DecodeCursor(file.readAll(), &hotSpot);
    if (image.isNull())
        return false;
    *cursor = QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
    return true;
}

QCursor SkinHandCursor(const QString &imagesPath)
{
    QCursor cursor(Qt::PointingHandCursor);
    LoadCursorFile(ResolveSkinFile(imagesPath, QStringLiteral("HandCursor.cur")), &cursor);
    return cursor;
}

void SetButtonPictures(ActiveLink *button, const QString &folder, const QString &rest, const QString &hover)
{
    const QPixmap picture = LoadSkinPicture(folder, rest);
    button->setPicture(picture);
    if (!picture.isNull())
        button->resize(picture.size());
    button->setActivepicture(LoadSkinPicture(folder, hover));
}
