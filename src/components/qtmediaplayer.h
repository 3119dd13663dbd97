#pragma once

#include "mediaplayer.h"

class QAudioOutput;
class QMediaPlayer;
class SoftwareVolume;

// Plays through Qt Multimedia (GStreamer here); reads duration and tags with
// TagLib, synchronously, so callers have them before decoding has begun.
class QtMediaPlayer final : public MediaPlayer
{
    Q_OBJECT
public:
    // volume, when given, is the program's own output line the player follows.
    explicit QtMediaPlayer(QObject *parent = nullptr, SoftwareVolume *volume = nullptr);
    ~QtMediaPlayer() override;

    QString FileName() const override { return m_fileName; }
    void SetFileName(const QString &path) override;
    void Play() override;
    void Stop() override;
    double CurrentPosition() const override;
    void SetCurrentPosition(double seconds) override;
    double Duration() const override { return m_duration; }
    QString GetMediaInfoString(int index) const override;
    int ErrorCode() const override { return m_errorCode; }
    QString ErrorDescription() const override { return m_errorDescription; }
    QString ErrorText() const override { return m_errorText; }

private:
    void ensurePlayer();
    void applyVolume();
    void setError(int code, const QString &description, const QString &text);

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    SoftwareVolume *m_volume = nullptr;
    QString m_fileName;
    double m_duration = 0;
    QString m_title;
    QString m_author;
    int m_errorCode = 0;
    QString m_errorDescription;
    QString m_errorText;
    bool m_ended = false;
};
