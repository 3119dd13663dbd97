// SPDX-License-Identifier: GPL-3.0-or-later

#include "practice/wordfollower.h"

#include "base/numbers.h"
#include "content/wordtimes.h"
#include "sound/api/mediaplayer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

WordFollower::WordFollower(QLabel &verse, MediaPlayer &player, QObject *parent)
    : QObject(parent)
    , m_verse(verse)
    , m_player(player)
{
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &WordFollower::tick);
    connect(&m_verse, &QLabel::linkActivated, this, [this](const QString &link) {
        bool ok = false;
        const int k = link.toInt(&ok);
        if (!ok || k < 0 || k >= int(m_words.size()))
            return;
        if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)
            ToggleLoop(k);
        else
            PlayFrom(k);
    });
    m_verse.installEventFilter(this);
}

void WordFollower::PlayFrom(int index)
{
    if (index < 0 || index >= int(m_words.size()))
        return;
    stopLoop();
    m_player.SetCurrentPosition(m_words[size_t(index)].start / m_player.Speed());
    m_player.Play();
    light(index);
}

void WordFollower::ToggleLoop(int index)
{
    if (index < 0 || index >= int(m_words.size()))
        return;
    if (m_loop == index) {
        stopLoop();
        m_player.Stop();
        return;
    }
    m_loop = index;
    m_player.SetCurrentPosition(m_words[size_t(index)].start / m_player.Speed());
    m_player.Play();
    light(index);
}

void WordFollower::stopLoop()
{
    m_loop = -1;
}

bool WordFollower::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_verse && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // The keyboard's focus ring, the gold of the window's other controls.
        m_verse.setStyleSheet(
            event->type() == QEvent::FocusIn ? QStringLiteral("QLabel { border: 2px solid #ffd54a; }") : QString());
        return QObject::eventFilter(watched, event);
    }
    if (watched != &m_verse || event->type() != QEvent::KeyPress || m_words.empty())
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const int last = int(m_words.size()) - 1;
    switch (key->key()) {
    case Qt::Key_Left: // the next word: Arabic reads from the right
        light(m_current < 0 ? 0 : std::min(last, m_current + 1));
        return true;
    case Qt::Key_Right: light(m_current < 0 ? 0 : std::max(0, m_current - 1)); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (key->modifiers() & Qt::ShiftModifier)
            ToggleLoop(std::max(0, m_current));
        else
            PlayFrom(std::max(0, m_current));
        return true;
    case Qt::Key_Escape:
        if (m_loop < 0)
            return false;
        stopLoop();
        m_player.Stop();
        return true;
    default: return QObject::eventFilter(watched, event);
    }
}

QString WordFollower::Described(int index, int count, const QString &word)
{
    return QStringLiteral("الكلمة %1 من %2: %3").arg(ArabicIndic(index + 1), ArabicIndic(count), word);
}

void WordFollower::Follow(const QString &caption, std::vector<WordJudge::Word> words)
{
    Clear();
    QStringList pieces;
    std::vector<int> pieceOfWord;
    for (const QString &line : caption.split(QStringLiteral("\r\n"))) {
        if (!pieces.isEmpty())
            pieces << QStringLiteral("\n");
        for (const QString &piece : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!WordTimes::WordsOf(piece).isEmpty())
                pieceOfWord.push_back(int(pieces.size()));
            pieces << piece;
        }
    }
    if (words.empty() || pieceOfWord.size() != words.size())
        return;
    m_caption = caption;
    m_pieces = pieces;
    m_pieceOfWord = std::move(pieceOfWord);
    m_words = std::move(words);
    m_description = m_verse.accessibleDescription();
    m_verse.setTextFormat(Qt::RichText);
    m_verse.setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    m_verse.setFocusPolicy(Qt::StrongFocus);
    m_lastAt = -1;
    light(-1);
    m_timer.start();
}

void WordFollower::Clear()
{
    m_timer.stop();
    m_loop = -1;
    if (m_words.empty())
        return;
    m_verse.setTextInteractionFlags(Qt::NoTextInteraction);
    m_verse.setFocusPolicy(Qt::NoFocus);
    m_verse.setStyleSheet(QString());
    m_words.clear();
    m_pieceOfWord.clear();
    m_current = -1;
    m_verse.setTextFormat(Qt::PlainText);
    m_verse.setText(m_caption);
    m_verse.setAccessibleDescription(m_description);
    m_pieces.clear();
}

void WordFollower::tick()
{
    // The position is of what is heard; the author's times are of the sound
    // at full speed.
    const double heard = m_player.CurrentPosition();
    const double at = heard * m_player.Speed();
    if (m_loop >= 0 && at >= m_words[size_t(m_loop)].end) {
        m_player.SetCurrentPosition(m_words[size_t(m_loop)].start / m_player.Speed());
        return;
    }
    // A player at rest keeps the word chosen by hand lit.
    if (heard == m_lastAt)
        return;
    m_lastAt = heard;
    int found = -1;
    for (int k = 0; k < int(m_words.size()); ++k) {
        if (at >= m_words[size_t(k)].start && at < m_words[size_t(k)].end) {
            found = k;
            break;
        }
    }
    if (found != m_current)
        light(found);
}

void WordFollower::light(int index)
{
    m_current = index;
    // Until the player moves on, what is lit stays: a word chosen by hand too.
    m_lastAt = m_player.CurrentPosition();
    const int lit = index >= 0 ? m_pieceOfWord[size_t(index)] : -1;
    QString html;
    for (int p = 0; p < m_pieces.size(); ++p) {
        const QString &piece = m_pieces.at(p);
        if (piece == QLatin1String("\n")) {
            html += QStringLiteral("<br>");
            continue;
        }
        if (!html.isEmpty() && !html.endsWith(QLatin1String("<br>")))
            html += QLatin1Char(' ');
        const auto word = std::find(m_pieceOfWord.cbegin(), m_pieceOfWord.cend(), p);
        if (word == m_pieceOfWord.cend()) {
            html += piece.toHtmlEscaped();
            continue;
        }
        // Each word a link, for a click to choose it; drawn as the verse's text.
        const QColor ink = p == lit ? m_colour : m_verse.palette().color(QPalette::WindowText);
        html += QStringLiteral("<a href=\"%1\" style=\"text-decoration:none; color:%2\">%3</a>")
                    .arg(int(word - m_pieceOfWord.cbegin()))
                    .arg(ink.name(), piece.toHtmlEscaped());
    }
    m_verse.setText(html);
    m_verse.setAccessibleDescription(
        index >= 0 ? Described(index, int(m_words.size()), m_pieces.at(lit)) : m_description);
}
