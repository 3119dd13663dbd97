#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAudioDecoder;
class QTimer;

// Decodes a compressed file (the reciter's MP3) on the thread it lives on,
// without ever waiting there: the multimedia backend decodes on threads of its
// own and hands the samples over as events of this thread's loop. The window
// decodes so, and nothing is left behind for a shutdown to wait for: Cancel, or
// destroying the decoder, ends a decoding at once.
class SoundDecoder final : public QObject
{
    Q_OBJECT
public:
    struct Result final
    {
        // Mono, -1..1, at the file's own rate (rate 0 when nothing came).
        std::vector<float> samples;
        int rate = 0;
        QString error;
    };

    // A file this long is not an example; past it decoding stops.
    static constexpr double LongestSeconds = 600.0;
    static constexpr int TimeoutMs = 30000;

    explicit SoundDecoder(QObject *parent = nullptr);
    ~SoundDecoder() override;

    // Cuts off a decoding still running (its callback is never called).
    // rate: the rate asked of the backend, which may give another one.
    void Start(const QString &path, int rate, std::function<void(Result)> done);
    void Cancel();
    bool IsRunning() const { return bool(m_done); }

private:
    void finish(const QString &error);

    QAudioDecoder *m_decoder = nullptr;
    QTimer *m_timeout = nullptr;
    Result m_result;
    std::function<void(Result)> m_done;
};
