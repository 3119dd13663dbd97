// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sound/api/waveaudio.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <memory>

class AudioConverter;
class QAudioSource;
class PcmOutput;
class QIODevice;
class SoftwareVolume;

// The recorder's device on Qt Multimedia: "capture" records from the default
// input and saves an 8-bit unsigned 11025 Hz mono WAV; "voice1" plays such a
// file back. The capture runs on the sound server's own threads and the
// playback on the sound thread of PcmOutput; both are only polled here, so no
// command ever waits for sound.
//
// Beyond the classic words, "set capture journal PATH" (before "record") writes
// the take to a journal file as it comes (see TakeJournal), so that a crash
// costs at most the last moment of it; "save capture" then puts the journal in
// place ("status capture journal" tells how many ms of the take it holds).
// "stop capture" ends the recording and keeps what it holds, so that a
// save that failed can be tried again; only "close capture" lets a take go.
// "keep capture PATH" writes the whole take from memory as a journal at PATH,
// for the program's end when the take could not be saved.
class QtWaveAudio final : public QObject, public WaveAudio
{
    Q_OBJECT
public:
    // The learner's take plays back at the program's own output volume, as the
    // reciter does, when one is given.
    explicit QtWaveAudio(QObject *parent = nullptr, SoftwareVolume *volume = nullptr);
    ~QtWaveAudio() override;

    QString Send(const QString &command) override;

    // The learner's recordings are always written in this format.
    static QAudioFormat FileFormat();

private:
    QString OpenCapture();
    QString SetJournal(const QString &path);
    QString KeepCapture(const QString &path);
    QString RecordCapture();
    void DrainCapture();
    void WriteJournal();
    qint64 CapturePosition();
    void StopCapture();
    QString SaveCapture(const QString &path);
    QString WriteTake(const QString &path) const;
    // discardJournal: a take that is let go; otherwise (the program ending
    // with a take it could not save) the journal stays for the next start.
    void CloseCapture(bool discardJournal = true);
    void CloseJournal();

    QString OpenVoice(const QString &path);
    QString PlayVoice();
    void PauseVoice();
    QString ResumeVoice();
    QString playVoiceFrom(qint64 ms);
    void StopVoice();
    void CloseVoice();
    qint64 VoicePosition() const;

    SoftwareVolume *m_volume = nullptr;
    bool m_captureOpen = false;
    QAudioSource *m_source = nullptr;
    QIODevice *m_captureIo = nullptr;
    std::unique_ptr<AudioConverter> m_captureConverter;
    QByteArray m_captured; // in the file format
    QString m_journalPath;
    QByteArray m_comment;
    int m_journalFd = -1;
    qint64 m_journalBytes = 0; // of m_captured, written to the journal
    QElapsedTimer m_journalSynced;

    bool m_voiceOpen = false;
    std::shared_ptr<const QByteArray> m_voiceData; // in the sink's format
    QAudioFormat m_voiceFormat;
    qint64 m_voiceLength = 0;
    // Made on the first play: most windows never play a take back.
    PcmOutput *m_voice = nullptr;
    bool m_paused = false;
    bool m_ended = false;
    // Where a pause or a stop left the take, in ms.
    qint64 m_stoppedAt = 0;
};
