// SPDX-License-Identifier: GPL-3.0-or-later

#include "arabiccodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr auto kCodePage = "windows-1256";

bool IsHaraka(QChar c)
{
    return c.unicode() >= 0x064B && c.unicode() <= 0x0652;
}

// The base letters written so far in the current word, last one first.
QString WordLettersBackwards(const QString &written)
{
    QString letters;
    for (qsizetype i = written.size() - 1; i >= 0 && written.at(i) != QLatin1Char(' '); --i) {
        if (!IsHaraka(written.at(i)))
            letters += written.at(i);
    }
    return letters;
}

// ذلك, هذا and الرحمن keep their long a unwritten in plain spelling.
bool ShortAlefWord(const QString &written)
{
    const QString back = WordLettersBackwards(written);
    if (back.size() == 1 && (back.at(0) == QChar(0x0630) || back.at(0) == QChar(0x0647)))
        return true;
    return back.startsWith(QStringLiteral("\u0645\u062D"));
}

} // namespace

bool ArabicCodePage::Encode(const QString &text, QByteArray &bytes, QString &error)
{
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));

    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid()) {
        error = QStringLiteral("this Qt has no windows-1256 codec");
        return false;
    }
    bytes = encoder.encode(crlf);
    // An encoder replaces what it cannot map; a round trip shows where.
    const QString back = Decode(bytes);
    if (encoder.hasError() || back != crlf) {
        const qsizetype n = std::min(back.size(), crlf.size());
        qsizetype i = 0;
        while (i < n && back.at(i) == crlf.at(i))
            ++i;
        const int line = int(crlf.left(i).count(QLatin1Char('\n'))) + 1;
        const QChar ch = i < crlf.size() ? crlf.at(i) : QChar();
        error = QStringLiteral("line %1: U+%2 has no place in Windows-1256")
                    .arg(line)
                    .arg(ch.unicode(), 4, 16, QLatin1Char('0'));
        return false;
    }
    return true;
}

QString ArabicCodePage::SimplifyVerse(const QString &verse)
{
    QString out;
    out.reserve(verse.size());
    for (qsizetype i = 0; i < verse.size(); ++i) {
        const char16_t c = verse.at(i).unicode();
        const char16_t next = i + 1 < verse.size() ? verse.at(i + 1).unicode() : 0;
        const char16_t after = i + 2 < verse.size() ? verse.at(i + 2).unicode() : 0;
        switch (c) {
        case 0x0671: // alef wasla
            out += QChar(0x0627);
            break;
        case 0x06E1: // rounded sukun of the Uthmani script
            out += QChar(0x0652);
            break;
        // The package marks open (staggered) tanween with these three signs.
        case 0x0656: out += QChar(0x064D); break;
        case 0x0657: out += QChar(0x064B); break;
        case 0x065E: out += QChar(0x064C); break;
        case 0x064E: // a vowel carrying a small meem is tanween said as meem
        case 0x064F:
        case 0x0650:
            if (next == 0x06E2 || next == 0x06ED) {
                out += QChar(c == 0x064E ? 0x064B : c == 0x064F ? 0x064C : 0x064D);
                ++i;
            } else {
                out += QChar(c);
            }
            break;
        case 0x0623: // hamza on alef with maddah is the alef maddah
            if (next == 0x0653) {
                out += QChar(0x0622);
                ++i;
            } else {
                out += QChar(c);
            }
            break;
        case 0x064A: // yeh carrying a hamza below is written as yeh with hamza
            if (next == 0x0655) {
                out += QChar(0x0626);
                ++i;
            } else {
                out += QChar(c);
            }
            break;
        case 0x0640: // tatweel that only seats a hamza or a superscript alef
            if ((next == 0x064E && after == 0x0654) || (next == 0x0654 && after == 0x064E)) {
                out += QChar(0x0623);
                out += QChar(0x064E);
                i += 2;
            } else if (next == 0x0670) {
                ++i;
            } else {
                out += QChar(c);
            }
            break;
        case 0x0649: // alef maksura with a superscript alef inside a word is an alef
            if (next == 0x0670) {
                const bool inWord = after >= 0x0621 && after <= 0x064A;
                out += QChar(inWord ? 0x0627 : 0x0649);
                ++i;
            } else {
                out += QChar(c);
            }
            break;
        case 0x0670:
            // The superscript alef is a long a that plain spelling writes as an
            // alef, except in the few words it writes without one.
            if (!ShortAlefWord(out))
                out += QChar(0x0627);
            break;
        case 0x0653: // maddah, hamza signs, small letters, pause marks
        case 0x0654:
        case 0x0655: break;
        default:
            if (c >= 0x06D6 && c <= 0x06ED)
                break;
            out += QChar(c);
        }
    }
    return out;
}

QString ArabicCodePage::Decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}
