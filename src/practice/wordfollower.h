// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "compare/wordjudge.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

class MediaPlayer;
class QLabel;

// Lights the word of the example's text that the reciter is reading, from the
// author's word times, at every speed: the verse shows the word in the
// course's own colour of a chosen lesson, and its accessible description names
// it ("الكلمة ٢ من ٣: لله"). It looks at the player's position only while an
// example with word times is on show.
//
// A word can be chosen: clicked, or on the focused verse Left (the next word,
// as Arabic is read) and Right (the previous) and then Enter, which plays the
// reciter from it. Shift+click or Shift+Enter plays that word alone, over and
// over, until it is chosen so again or Escape is pressed.
class WordFollower final : public QObject
{
    Q_OBJECT
public:
    static constexpr int TickMs = 40;

    WordFollower(QLabel &verse, MediaPlayer &player, QObject *parent = nullptr);

    // The example on show: its text as the verse shows it (lines broken by
    // "\r\n") and the author's times of its words, one per word of the text.
    // Times that do not match the text's words leave the verse as it is.
    void Follow(const QString &caption, std::vector<WordJudge::Word> words);
    // Another example, a picture, or the panel closed: nothing to follow.
    void Clear();
    void SetHighlight(const QColor &colour) { m_colour = colour; }

    // The word lit, from 0; -1 for none.
    int Current() const { return m_current; }
    // The word played over and over, or -1.
    int Looping() const { return m_loop; }

    void PlayFrom(int index);
    // Plays the word alone on repeat; the word on repeat stops.
    void ToggleLoop(int index);
    bool Following() const { return !m_words.empty(); }
    static QString Described(int index, int count, const QString &word);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tick();
    void stopLoop();
    void light(int index);

    QLabel &m_verse;
    MediaPlayer &m_player;
    QTimer m_timer;
    QColor m_colour = Qt::darkBlue;
    QString m_caption; // as it was shown, given back when nothing is followed
    QStringList m_pieces; // the caption's words and line breaks, in order
    std::vector<int> m_pieceOfWord;
    std::vector<WordJudge::Word> m_words;
    QString m_description; // the verse's own, when nothing is lit
    int m_current = -1;
    int m_loop = -1;
    double m_lastAt = -1; // the position last looked at, heard seconds
};
