// SPDX-License-Identifier: GPL-3.0-or-later

#include "config.h"

#include "base/codepage.h"
#include "base/numbers.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Lines of an 8-bit text file in the course's code page. CR LF, a lone LF and a
// lone CR all end a line. Stops after maxLines.
QStringList readCodePageLines(QIODevice &file, int maxLines)
{
    QStringList lines;
    QByteArray line;
    char c;
    while (lines.size() < maxLines && file.getChar(&c)) {
        if (c == '\r' || c == '\n') {
            if (c == '\r') {
                char next;
                if (file.getChar(&next) && next != '\n')
                    file.ungetChar(next);
            }
            lines << FromWindows1256(line);
            line.clear();
        } else {
            line.append(c);
        }
    }
    if (lines.size() < maxLines && !line.isEmpty())
        lines << FromWindows1256(line);
    return lines;
}

QString valueOf(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.mid(eq + 1);
}

qint16 int16Or0(const QString &value)
{
    return ToInt16(value).value_or(0);
}

qint32 int32Or0(const QString &value)
{
    return ToInt32(value).value_or(0);
}

} // namespace

QStringList ConfigValues(QIODevice &device)
{
    QStringList values = readCodePageLines(device, ConfigLines);
    for (QString &line : values)
        line = valueOf(line);
    return values;
}

void ReadConfig(const QString &path, Settings &s)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const qint16 splitterTop = s.SplitterTop;
        s = Settings();
        s.SplitterTop = splitterTop;
        return;
    }
    ReadConfig(file, s);
}

void ReadConfig(QIODevice &device, Settings &s)
{
    const QStringList values = ConfigValues(device);
    for (int i = 0; i < values.size(); ++i) {
        const QString &v = values.at(i);
        switch (i + 1) {
        case 1: s.MenuBackColor = int32Or0(v); break;
        case 2: s.SlideStep = int16Or0(v); break;
        case 3: s.ScrollStep = int16Or0(v); break;
        case 4: s.PageStep = int16Or0(v); break;
        case 5: s.ChapterFont = v; break;
        case 6: s.LessonFont = v; break;
        case 7: s.ChapterFontSize = int16Or0(v); break;
        case 8: s.LessonFontSize = int16Or0(v); break;
        case 9: s.ChapterColor = int32Or0(v); break;
        case 10: s.ChapterHoverColor = int32Or0(v); break;
        case 11: s.ChapterSelectedColor = int32Or0(v); break;
        case 12: s.LessonColor = int32Or0(v); break;
        case 13: s.LessonHoverColor = int32Or0(v); break;
        case 14: s.LessonSelectedColor = int32Or0(v); break;
        case 15: s.MenuSteps = int16Or0(v); break;
        case 16: s.TitleTextOffset = int16Or0(v); break;
        case 17: s.AyaFont = v; break;
        case 18: s.AyaFontSize = int16Or0(v); break;
        case 19: s.SampleTitleFont = v; break;
        case 20: s.SampleTitleFontSize = int16Or0(v); break;
        case 21: s.SampleTitleColor = int32Or0(v); break;
        }
    }
}

void LoadOptions(const QString &path, Settings &s)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        s.SplitterTop = 450;
        return;
    }
    LoadOptions(file, s);
}

void LoadOptions(QIODevice &device, Settings &s)
{
    const QStringList lines = readCodePageLines(device, 1);
    s.SplitterTop = lines.isEmpty() ? 0 : int16Or0(lines.first());
}

QByteArray FormatOptions(qint16 splitterTop)
{
    QByteArray out;
    if (splitterTop >= 0)
        out += ' ';
    out += QByteArray::number(splitterTop);
    out += " \r\n";
    return out;
}

bool SaveOptions(const QString &path, const Settings &s)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(FormatOptions(s.SplitterTop));
    return file.commit();
}
