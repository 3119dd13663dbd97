// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

// The reciter's player. Setting a file name loads the file and starts it at once
// (choosing an example relies on exactly that, so there is no switch to turn it off);
// its duration and its title and author tags are known as soon as the setter
// returns, because the examples panel reads them on the next line.
class MediaPlayer : public QObject
{
    Q_OBJECT
public:
    // Indices of GetMediaInfoString.
    static constexpr int ClipTitle = 8;
    static constexpr int ClipAuthor = 9;

    using QObject::QObject;
    ~MediaPlayer() override;

    virtual QString FileName() const = 0;
    virtual void SetFileName(const QString &path) = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    // Seconds.
    virtual double CurrentPosition() const = 0;
    virtual void SetCurrentPosition(double seconds) = 0;
    virtual double Duration() const = 0;
    // Empty text when the tag is missing.
    virtual QString GetMediaInfoString(int index) const = 0;
    // 0 when the last operation succeeded.
    virtual int ErrorCode() const = 0;
    virtual QString ErrorDescription() const = 0;
    virtual QString ErrorText() const = 0;

    // 1 plays the file as it is; below 1 slower, with its pitch kept. Once set,
    // the duration and positions are those of what is heard, so whoever times
    // the sound (the take's limit, the end of listening) follows the speed.
    virtual void SetSpeed(double speed) { m_speed = speed; }
    double Speed() const { return m_speed; }

protected:
    double m_speed = 1.0;

signals:
    // The player met an error after the setter returned (decoding, the sound device).
    void ErrorOccurred();
};
