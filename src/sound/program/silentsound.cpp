// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound/program/silentsound.h"

#include "sound/api/mediaplayer.h"
#include "sound/api/sounddecoder.h"
#include "sound/api/stretchplayer.h"
#include "sound/api/waveaudio.h"
#include "sound/api/waveinput.h"

#include <QObject>

namespace {

class SilentPlayer final : public MediaPlayer
{
public:
    explicit SilentPlayer(QObject *parent)
        : MediaPlayer(parent)
    {
    }

    QString FileName() const override { return m_fileName; }
    // The examples panel reads the name back to tell an example from the chime.
    void SetFileName(const QString &path) override { m_fileName = path; }
    void Play() override { }
    void Stop() override { }
    double CurrentPosition() const override { return 0; }
    void SetCurrentPosition(double) override { }
    // Nothing plays, so listening ends at once and a take's limit is the least.
    double Duration() const override { return 0; }
    QString GetMediaInfoString(int) const override { return {}; }
    // No error: the learner was told once that there is no sound, not at every example.
    int ErrorCode() const override { return 0; }
    QString ErrorDescription() const override { return {}; }
    QString ErrorText() const override { return {}; }

private:
    QString m_fileName;
};

class SilentWaveAudio final : public QObject, public WaveAudio
{
public:
    using QObject::QObject;
    QString Send(const QString &) override { return ErrorPrefix + SilentSound::Reason; }
};

class SilentWaveInput final : public QObject, public WaveInput
{
public:
    using QObject::QObject;
    bool Open(QString *errorText) override
    {
        if (errorText)
            *errorText = SilentSound::Message;
        return false;
    }
    void Close() override { }
    bool IsOpen() const override { return false; }
    QByteArray TakeNewestBuffer() override { return {}; }
};

class SilentStretchPlayer final : public QObject, public StretchPlayer
{
public:
    using QObject::QObject;
    void Play(const QString &, double, double, double) override { }
    void PlayWave(const QByteArray &) override { }
    void Stop() override { }
};

class SilentDecoder final : public SoundDecoder
{
public:
    void Start(const QString &, int, std::function<void(Result)> done) override
    {
        Result result;
        result.error = SilentSound::Reason;
        if (done)
            done(std::move(result));
    }
    void Cancel() override { }
    bool IsRunning() const override { return false; }
};

} // namespace

SlowedSounds *SilentSound::MakeSlowedSounds(QObject *)
{
    return nullptr;
}

MediaPlayer *SilentSound::MakeMediaPlayer(QObject *parent, SoftwareVolume *, SlowedSounds *)
{
    return new SilentPlayer(parent);
}

WaveAudio *SilentSound::MakeWaveAudio(QObject *parent, SoftwareVolume *)
{
    return new SilentWaveAudio(parent);
}

WaveInput *SilentSound::MakeWaveInput(QObject *parent)
{
    return new SilentWaveInput(parent);
}

StretchPlayer *SilentSound::MakeStretchPlayer(QObject *parent, SoftwareVolume *, SlowedSounds *)
{
    return new SilentStretchPlayer(parent);
}

std::unique_ptr<SoundDecoder> SilentSound::MakeDecoder()
{
    return std::make_unique<SilentDecoder>();
}

SoundInfo SilentSound::ReadSoundInfo(const QString &)
{
    return {};
}

SoundModule::ReadWaveCall SilentSound::WaveReader()
{
    return [](const QString &, int, QString *error) -> std::optional<MonoSound> {
        if (error)
            *error = Reason;
        return std::nullopt;
    };
}

MixerDevice *SilentSound::MakeMixerDevice(QObject *, SoftwareVolume *)
{
    return nullptr;
}
