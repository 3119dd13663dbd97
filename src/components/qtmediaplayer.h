#pragma once

#include "mediaplayer.h"

class QAudioOutput;
class QMediaPlayer;

// Plays through Qt Multimedia (GStreamer here); reads duration and tags with
// TagLib, synchronously, so callers have them before decoding has begun.
//
// Auto-start: setting a file name plays it unless SetAutoStart(false) was
// called. The skin step switches it off as it always did, and the callers that
// want sound (the welcome chime, choosing an example) call Play() after setting
// the name, so the switch changes nothing a learner hears.
class QtMediaPlayer final : public MediaPlayer
{
    Q_OBJECT
public:
    explicit QtMediaPlayer(QObject *parent = nullptr);
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
    void SetAutoStart(bool on) override { m_autoStart = on; }

private:
    void ensurePlayer();
    void setError(int code, const QString &description, const QString &text);

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QString m_fileName;
    double m_duration = 0;
    QString m_title;
    QString m_author;
    int m_errorCode = 0;
    QString m_errorDescription;
    QString m_errorText;
    bool m_autoStart = true;
    bool m_ended = false;
};
