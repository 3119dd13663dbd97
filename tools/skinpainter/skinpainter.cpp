// SPDX-License-Identifier: GPL-3.0-or-later

#include "skinpainter.h"

#include "cursorwriter.h"
#include "gifwriter.h"
#include "glyphs.h"
#include "ornament.h"
#include "palette.h"

#include "skin/formdesign.h"
#include "skin/windowshapes.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <functional>

namespace {

// Places fixed by the program's layout, in window pixels.
constexpr int kWindowWidth = FormDesign::WindowWidth;
constexpr int kWindowHeight = FormDesign::WindowHeight;
const QRect kDocumentPanel(4, 59, 537, 523); // holds the pane (32, 63, 505 wide) and the scroll bar at 8
const QRect kMenuPanel(552, 112, 194, 478); // holds the menu (560, 136, 177 x 433) and its arrows
const QRect kTitleStrip(552, 80, 194, 31);
const QPoint kExitCentre = FormDesign::ExitCentre;
const QPoint kMinimizeCentre = FormDesign::MinimizeCentre;
constexpr int kWindowButton = 44;
const QPoint kWaveIcon = FormDesign::WaveIcon;
const QPoint kMicIcon = FormDesign::MicIcon;
constexpr int kIcon = 24;
constexpr int kBarWidth = 8;
constexpr int kBarHeight = 28;
constexpr int kBars = 10;
constexpr int kVolumeButtonWidth = 11;
constexpr int kVolumeButtonHeight = 10;

constexpr int kSamplesBarWidth = 505;
constexpr int kSamplesBarHeight = 30;
constexpr int kExampleButton = 26;
constexpr int kExampleButtons = 13;
constexpr int kPanelButton = 22;

constexpr int kRecBackWidth = 126;
constexpr int kRecBackHeight = 64;
constexpr int kRecorderButton = 36;
constexpr int kMeterWidth = 9;
constexpr int kMeterHeight = 7;

constexpr int kMenuWidth = 177;
constexpr int kTitleHeight = 36;
constexpr int kLinkHeight = 28;

const QString kCourseName = QStringLiteral("رتّل — دروس في أحكام التجويد");

QFont ArabicFont(double pixels, bool bold = false)
{
    QFont f(QStringLiteral("Amiri"));
    f.setPixelSize(qMax(1, qRound(pixels)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QString ArabicIndicNumber(int n)
{
    QString s = QString::number(n);
    for (QChar &c : s)
        c = QChar(0x0660 + (c.unicode() - '0'));
    return s;
}

void FillGlyph(QPainter &p, const QPainterPath &glyph, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(glyph);
    p.restore();
}

// A round button face: a disc with a thin ring, lit from above.
void Disc(QPainter &p, const QRectF &box, const QColor &face, const QColor &ring)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(box.center().x(), box.top() + box.height() * 0.3, box.width() * 0.75);
    g.setColorAt(0, face.lighter(118));
    g.setColorAt(1, face.darker(108));
    p.setBrush(g);
    p.setPen(QPen(ring, 1.4));
    p.drawEllipse(box.adjusted(0.7, 0.7, -0.7, -0.7));
    p.restore();
}

void CentredText(QPainter &p, const QRectF &box, const QString &text, const QFont &font, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(colour);
    p.setLayoutDirection(Qt::RightToLeft);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

} // namespace

SkinPainter::SkinPainter(const QString &outDir)
    : m_out(outDir)
{
}

bool SkinPainter::PaintAll()
{
    if (!m_out.exists() && !QDir().mkpath(m_out.path())) {
        m_errors << m_out.path();
        return false;
    }
    PaintMain();
    PaintWindowButtons();
    PaintVolumeControls();
    PaintExamplesBar();
    PaintRecorder();
    PaintPracticeExtras();
    PaintDocumentScrollBar();
    PaintMenu();
    PaintIndexBackground();
    PaintMessageButton();
    PaintCursor();
    return m_errors.isEmpty();
}

QImage SkinPainter::Filled(int w, int h, const QColor &colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage SkinPainter::Crop(int x, int y, int w, int h) const
{
    return m_main.copy(x, y, w, h);
}

void SkinPainter::Save(const QImage &image, const QString &name)
{
    if (image.convertToFormat(QImage::Format_RGB32).save(m_out.filePath(name), "JPEG", 92))
        m_written << name;
    else
        m_errors << name;
}

void SkinPainter::SaveGif(const QImage &image, const QString &name)
{
    // A palette of ramps between the few colours of the skin keeps the
    // anti-aliased edges smooth without dithering noise.
    const QColor keys[] = { Palette::Parchment, Palette::ParchmentLight, Palette::ParchmentDeep, Palette::Gold,
        Palette::GoldDark, Palette::Frame, Palette::Ink };
    QVector<QRgb> palette;
    const int n = int(std::size(keys));
    for (int a = 0; a < n && palette.size() < 256; ++a) {
        for (int b = a + 1; b < n; ++b) {
            for (int s = 0; s < 12; ++s) {
                const double t = s / 12.0;
                const QColor &c1 = keys[a];
                const QColor &c2 = keys[b];
                palette << qRgb(qRound(c1.red() + (c2.red() - c1.red()) * t),
                    qRound(c1.green() + (c2.green() - c1.green()) * t),
                    qRound(c1.blue() + (c2.blue() - c1.blue()) * t));
            }
        }
    }
    for (const QColor &c : keys)
        palette << c.rgb();
    palette.resize(qMin<int>(int(palette.size()), 256));
    if (GifWriter::Write(image, palette, m_out.filePath(name)))
        m_written << name;
    else
        m_errors << name;
}

void SkinPainter::PaintMain()
{
    m_main = Filled(kWindowWidth, kWindowHeight, Palette::Frame);
    const QRegion region = BuildOutline(MainWindowShapes(), 1, 1, 0, 0);
    const QPainterPath outline = OutlinePath(MainWindowShapes()).simplified();

    QPainter p(&m_main);
    p.setClipRegion(region);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient body(0, 0, 0, kWindowHeight);
    body.setColorAt(0, Palette::FrameLight);
    body.setColorAt(0.18, Palette::Frame);
    body.setColorAt(1, Palette::FrameDark);
    p.fillRect(m_main.rect(), body);

    // A dark bevel and a gold rim follow the outline just inside its edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::FrameDark, 7));
    p.drawPath(outline);
    p.setPen(QPen(Palette::Gold, 3));
    p.drawPath(outline);
    p.setPen(QPen(Palette::GoldDark, 1));
    QPainterPathStroker inner;
    inner.setWidth(9);
    p.drawPath(inner.createStroke(outline).intersected(outline).simplified());

    // The two round pieces at the top right carry the window buttons.
    for (const QPoint c : { kMinimizeCentre, kExitCentre }) {
        const QPointF centre(c.x() + 0.5, c.y() + 0.5);
        p.setPen(QPen(Palette::GoldDark, 1));
        p.setBrush(Palette::FrameDark);
        p.drawEllipse(centre, 29, 29);
        p.setPen(QPen(Palette::Gold, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 26.5, 26.5);
    }
    Ornament::Medallion(p, QPointF(675.5, 25.5), 14, Palette::FrameLight);
    Ornament::Medallion(p, QPointF(34.5, 40.5), 17, Palette::FrameLight);

    // Girih bands along the top and bottom edges: the only pattern on the frame.
    Ornament::StarBand(p, 96, 525, 52.5, 4.4, Palette::Gold);
    Ornament::StarBand(p, 440, 546, 590, 4.4, Palette::Gold);

    // The reading area and the menu sit on calm parchment panels.
    for (const QRect &panel : { kDocumentPanel, kMenuPanel }) {
        p.setPen(QPen(Palette::GoldDark, 3));
        p.setBrush(Palette::Parchment);
        p.drawRoundedRect(QRectF(panel).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
        p.setPen(QPen(Palette::GoldLight, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(panel).adjusted(2.5, 2.5, -2.5, -2.5), 7, 7);
    }

    // The course's name above the menu.
    QFont font = ArabicFont(17, true);
    while (QFontMetricsF(font).horizontalAdvance(kCourseName) > kTitleStrip.width() - 8 && font.pixelSize() > 9)
        font.setPixelSize(font.pixelSize() - 1);
    CentredText(p, QRectF(kTitleStrip).translated(1, 1), kCourseName, font, Palette::FrameDark);
    CentredText(p, kTitleStrip, kCourseName, font, Palette::GoldLight);

    // A shallow well under each row of volume bars.
    for (const QPoint icon : { kWaveIcon, kMicIcon }) {
        // ends half a pixel short of the icon, which is painted on a crop here
        const QRectF well(icon.x() - kBars * kBarWidth - 3.5, icon.y() - 2.5, kBars * kBarWidth + 3, kBarHeight + 5);
        p.setPen(QPen(Palette::GoldDark, 1));
        p.setBrush(Palette::FrameDark);
        p.drawRoundedRect(well, 3, 3);
    }
    p.end();
    Save(m_main, QStringLiteral("main.jpg"));
}

void SkinPainter::PaintWindowButtons()
{
    struct Button
    {
        QString name;
        QPoint centre;
        std::function<QPainterPath(const QRectF &)> glyph;
    };
    const Button buttons[] = {
        { QStringLiteral("Exit"), kExitCentre, [](const QRectF &b) { return Glyphs::Cross(b, 3.2); } },
        { QStringLiteral("Minimize"), kMinimizeCentre, [](const QRectF &b) { return Glyphs::Dash(b, 3.2); } },
    };
    for (const Button &b : buttons) {
        const int left = b.centre.x() - kWindowButton / 2;
        const int top = b.centre.y() - kWindowButton / 2;
        for (bool hover : { false, true }) {
            QImage image = Crop(left, top, kWindowButton, kWindowButton);
            QPainter p(&image);
            const QRectF face(2, 2, kWindowButton - 4, kWindowButton - 4);
            Disc(p, face, hover ? Palette::Gold : Palette::FrameLight, hover ? Palette::GoldLight : Palette::Gold);
            const QRectF glyphBox = face.adjusted(13, 13, -13, -13);
            FillGlyph(p, b.glyph(glyphBox), hover ? Palette::FrameDark : Palette::ParchmentLight);
            p.end();
            Save(image, b.name + (hover ? QStringLiteral("MouseOver.jpg") : QStringLiteral(".jpg")));
        }
    }
}

void SkinPainter::PaintVolumeControls()
{
    // Speaker and microphone, each with a rest and hover look for the open and
    // the muted line.
    struct Icon
    {
        QString name;
        QPoint place;
        bool microphone;
        bool muted;
    };
    const Icon icons[] = {
        { QStringLiteral("WaveVol"), kWaveIcon, false, false },
        { QStringLiteral("WaveMute"), kWaveIcon, false, true },
        { QStringLiteral("MicVol"), kMicIcon, true, false },
        { QStringLiteral("MicMute"), kMicIcon, true, true },
    };
    for (const Icon &icon : icons) {
        for (bool hover : { false, true }) {
            QImage image = Crop(icon.place.x(), icon.place.y(), kIcon, kIcon);
            QPainter p(&image);
            const QColor ink = hover ? Palette::GoldLight : Palette::Parchment;
            if (icon.microphone) {
                FillGlyph(p, Glyphs::Microphone(QRectF(5, 2, 14, 20), 1.8), ink);
            } else {
                FillGlyph(p, Glyphs::Speaker(QRectF(2, 5, 12, 14)), ink);
                if (!icon.muted)
                    FillGlyph(p, Glyphs::SoundWaves(QRectF(12, 6, 9, 12), 1.7), ink);
            }
            if (icon.muted) {
                const QRectF cross = icon.microphone ? QRectF(3, 3, 18, 18) : QRectF(15, 8, 7, 8);
                FillGlyph(p, Glyphs::Cross(cross, 2.2), hover ? Palette::RedLight : Palette::Red);
            }
            p.end();
            Save(image, icon.name + (hover ? QStringLiteral("Over.jpg") : QStringLiteral(".jpg")));
        }
    }

    // A bar is the same all the way up, so it reads right however tall the
    // layout makes it.
    for (bool lit : { false, true }) {
        QImage bar = Filled(kBarWidth, kBarHeight, Palette::FrameDark);
        QPainter p(&bar);
        QLinearGradient g(1, 0, kBarWidth - 1, 0);
        if (lit) {
            g.setColorAt(0, Palette::GoldLight);
            g.setColorAt(1, Palette::Gold);
        } else {
            g.setColorAt(0, Palette::FrameGlow.darker(150));
            g.setColorAt(1, Palette::FrameLight.darker(140));
        }
        p.fillRect(QRect(1, 0, kBarWidth - 2, kBarHeight), g);
        p.end();
        Save(bar, lit ? QStringLiteral("volumeActive.jpg") : QStringLiteral("volume.jpg"));
    }

    // The small up and down buttons stand left of the wave row; the microphone
    // row's pair lies on the same plain frame.
    const double barsLeft = kWaveIcon.x() - kBars * kBarWidth;
    const int buttonLeft = qRound(barsLeft - kVolumeButtonWidth - 2);
    const int upTop = kWaveIcon.y() + 2;
    const int downTop = kWaveIcon.y() + kBarHeight - kVolumeButtonHeight;
    for (bool up : { true, false }) {
        for (bool hover : { false, true }) {
            QImage image = Crop(buttonLeft, up ? upTop : downTop, kVolumeButtonWidth, kVolumeButtonHeight);
            QPainter p(&image);
            FillGlyph(
                p, Glyphs::Triangle(QRectF(1.5, 2, 8, 6), up), hover ? Palette::GoldLight : Palette::Gold.darker(115));
            p.end();
            const QString name = QStringLiteral("volume") + (up ? QStringLiteral("up") : QStringLiteral("down"))
                + (hover ? QStringLiteral("active.jpg") : QStringLiteral(".jpg"));
            Save(image, name);
        }
    }
}

void SkinPainter::PaintExamplesBar()
{
    m_samplesBar = Filled(kSamplesBarWidth, kSamplesBarHeight, Palette::Frame);
    {
        QPainter p(&m_samplesBar);
        QLinearGradient g(0, 0, 0, kSamplesBarHeight);
        g.setColorAt(0, Palette::FrameLight);
        g.setColorAt(1, Palette::Frame);
        p.fillRect(m_samplesBar.rect(), g);
        p.fillRect(QRect(0, 0, kSamplesBarWidth, 1), Palette::Gold);
        p.fillRect(QRect(0, kSamplesBarHeight - 1, kSamplesBarWidth, 1), Palette::GoldDark);
        // The right end, beyond the buttons, names the bar.
        const int capLeft = kSamplesBarWidth - 75 + 28;
        p.fillRect(QRect(capLeft - 2, 5, 1, kSamplesBarHeight - 10), Palette::GoldDark);
        CentredText(p, QRectF(capLeft, 0, kSamplesBarWidth - capLeft - 2, kSamplesBarHeight - 2),
            QStringLiteral("الأمثلة"), ArabicFont(15, true), Palette::GoldLight);
    }
    Save(m_samplesBar, QStringLiteral("SamplesBar.jpg"));

    // Buttons stand at top 2 on the bar, whose gradient runs only vertically, so
    // any column of it is their background.
    const QImage background = m_samplesBar.copy(0, 2, kExampleButton, kExampleButton);
    for (int i = 1; i <= kExampleButtons; ++i) {
        struct Look
        {
            QString suffix;
            QColor face, ring, ink;
            double ringWidth;
        };
        const Look looks[] = {
            { QStringLiteral(".jpg"), Palette::Parchment, Palette::Gold, Palette::Frame, 1.4 },
            { QStringLiteral("MouseOver.jpg"), Palette::GoldLight, Palette::ParchmentLight, Palette::FrameDark, 1.4 },
            { QStringLiteral("Selected.jpg"), Palette::FrameDark, Palette::GoldLight, Palette::GoldLight, 2.4 },
        };
        for (const Look &look : looks) {
            QImage image = background;
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF face(1, 1, kExampleButton - 2, kExampleButton - 2);
            Disc(p, face, look.face, look.ring);
            if (look.ringWidth > 2) {
                p.setPen(QPen(look.ring, look.ringWidth));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(face.adjusted(1.5, 1.5, -1.5, -1.5));
            }
            CentredText(p, face.translated(0, 1), ArabicIndicNumber(i), ArabicFont(i > 9 ? 13 : 15, true), look.ink);
            p.end();
            Save(image, QStringLiteral("N%1").arg(i) + look.suffix);
        }
    }

    const QImage panelBackground = m_samplesBar.copy(0, 4, kPanelButton, kPanelButton);
    for (bool up : { true, false }) {
        for (bool hover : { false, true }) {
            QImage image = panelBackground;
            QPainter p(&image);
            Disc(p, QRectF(1, 1, kPanelButton - 2, kPanelButton - 2), hover ? Palette::GoldLight : Palette::FrameLight,
                Palette::Gold);
            FillGlyph(p, Glyphs::Chevron(QRectF(6.5, up ? 8 : 9, 9, 5), up, 2.2),
                hover ? Palette::FrameDark : Palette::GoldLight);
            p.end();
            Save(image,
                QStringLiteral("SamplesBar") + (up ? QStringLiteral("Up") : QStringLiteral("Down"))
                    + (hover ? QStringLiteral("Active.jpg") : QStringLiteral(".jpg")));
        }
    }
}

void SkinPainter::PaintRecorder()
{
    // The recorder strip stands on the panel's parchment.
    m_recBack = Filled(kRecBackWidth, kRecBackHeight, Palette::Parchment);
    {
        QPainter p(&m_recBack);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Palette::Gold, 1.2));
        QLinearGradient g(0, 0, 0, kRecBackHeight);
        g.setColorAt(0, Palette::ParchmentDeep);
        g.setColorAt(1, Palette::ParchmentDeep.darker(104));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1, 3, kRecBackWidth - 2, kRecBackHeight - 6), 12, 12);
        for (int k = 1; k <= 2; ++k) {
            const QPointF socket(kRecBackWidth * k / 3.0, kRecBackHeight / 2.0);
            p.setPen(QPen(Palette::GoldDark, 0.8));
            p.setBrush(Palette::ParchmentDeep.darker(110));
            p.drawEllipse(socket, kRecorderButton / 2.0 + 1.5, kRecorderButton / 2.0 + 1.5);
        }
    }
    Save(m_recBack, QStringLiteral("RecBack.jpg"));

    struct Button
    {
        QString rest, hover;
        int socket; // 0: beside RecBack on the panel, 1 or 2: a third of RecBack
        std::function<void(QPainter &, const QRectF &, bool)> glyph;
    };
    const auto ink = [](bool hover) { return hover ? Palette::FrameDark : Palette::ParchmentLight; };
    const Button buttons[] = {
        { QStringLiteral("Play.jpg"), QStringLiteral("PlayOver.jpg"), 1,
            [&](QPainter &p, const QRectF &f, bool h) {
                FillGlyph(p, Glyphs::Play(f.adjusted(12, 10, -10, -10)), ink(h));
            } },
        { QStringLiteral("Pause.jpg"), QStringLiteral("PauseOver.jpg"), 1,
            [&](QPainter &p, const QRectF &f, bool h) {
                FillGlyph(p, Glyphs::Pause(f.adjusted(11, 10, -11, -10)), ink(h));
            } },
        { QStringLiteral("Rec.jpg"), QStringLiteral("recOver.jpg"), 2,
            [&](QPainter &p, const QRectF &f, bool h) {
                const QRectF dot = f.adjusted(10, 10, -10, -10);
                FillGlyph(p, Glyphs::Dot(dot.adjusted(-1, -1, 1, 1)), Palette::ParchmentLight);
                FillGlyph(p, Glyphs::Dot(dot), h ? Palette::RedLight : Palette::Red);
            } },
        { QStringLiteral("Stop.jpg"), QStringLiteral("StopOver.jpg"), 2,
            [&](QPainter &p, const QRectF &f, bool h) {
                FillGlyph(p, Glyphs::Stop(f.adjusted(11, 11, -11, -11)), ink(h));
            } },
        { QStringLiteral("Listen.jpg"), QStringLiteral("ListenOver.jpg"), 0,
            [&](QPainter &p, const QRectF &f, bool h) {
                FillGlyph(p, Glyphs::Headphones(f.adjusted(9, 9, -9, -9), 2.4), ink(h));
            } },
    };
    for (const Button &b : buttons) {
        for (bool hover : { false, true }) {
            QImage image;
            if (b.socket == 0) {
                image = Filled(kRecorderButton, kRecorderButton, Palette::Parchment);
            } else {
                const int centreX = kRecBackWidth * b.socket / 3;
                image = m_recBack.copy(centreX - kRecorderButton / 2, (kRecBackHeight - kRecorderButton) / 2,
                    kRecorderButton, kRecorderButton);
            }
            QPainter p(&image);
            const QRectF face(1, 1, kRecorderButton - 2, kRecorderButton - 2);
            Disc(p, face, hover ? Palette::GoldLight : Palette::FrameLight, hover ? Palette::GoldDark : Palette::Gold);
            b.glyph(p, face, hover);
            p.end();
            Save(image, hover ? b.hover : b.rest);
        }
    }

    // Meter segments, bottom (1) to top (8): green through amber to red.
    for (int i = 1; i <= 8; ++i) {
        QImage seg = Filled(kMeterWidth, kMeterHeight, Palette::Parchment);
        QPainter p(&seg);
        const double t = (i - 1) / 7.0;
        QColor c;
        if (t < 0.6)
            c = QColor::fromHsvF(0.33 - t * 0.25, 0.75, 0.72);
        else
            c = QColor::fromHsvF(qMax(0.0, 0.18 - (t - 0.6) * 0.45), 0.82, 0.85);
        p.fillRect(QRect(0, 1, kMeterWidth, kMeterHeight - 1), c);
        p.fillRect(QRect(0, 1, kMeterWidth, 1), c.lighter(125));
        p.end();
        Save(seg, QStringLiteral("vm%1.jpg").arg(i));
    }
}

// The reciter's speed and "repeat after me": pills on the title line of the
// examples panel, whose words and numbers the program writes over them.
void SkinPainter::PaintPracticeExtras()
{
    struct Pill
    {
        QString name;
        int width;
    };
    const Pill pills[] = { { QStringLiteral("Speed"), 54 }, { QStringLiteral("Repeat"), 92 } };
    constexpr int height = 20;
    for (const Pill &pill : pills) {
        for (bool hover : { false, true }) {
            QImage image = Filled(pill.width, height, Palette::Parchment);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF box(0.8, 0.8, pill.width - 1.6, height - 1.6);
            QLinearGradient g(0, 0, 0, height);
            const QColor face = hover ? Palette::FrameGlow : Palette::FrameLight;
            g.setColorAt(0, face.lighter(115));
            g.setColorAt(1, face.darker(110));
            p.setBrush(g);
            p.setPen(QPen(hover ? Palette::GoldLight : Palette::Gold, 1.2));
            p.drawRoundedRect(box, height / 2.0 - 1, height / 2.0 - 1);
            p.end();
            Save(image, pill.name + (hover ? QStringLiteral("Over.jpg") : QStringLiteral(".jpg")));
        }
    }
}

void SkinPainter::PaintDocumentScrollBar()
{
    for (bool up : { true, false }) {
        for (bool hover : { false, true }) {
            QImage image = Filled(20, 18, Palette::Parchment);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(hover ? Palette::Gold : Palette::GoldDark, 1));
            p.setBrush(hover ? Palette::FrameLight : Palette::ParchmentDeep);
            p.drawRoundedRect(QRectF(1.5, 1.5, 17, 15), 4, 4);
            FillGlyph(p, Glyphs::Chevron(QRectF(6, up ? 6.5 : 7.5, 8, 4), up, 2),
                hover ? Palette::GoldLight : Palette::Frame);
            p.end();
            Save(image,
                QStringLiteral("scroll") + (up ? QStringLiteral("up") : QStringLiteral("down"))
                    + (hover ? QStringLiteral("Active.jpg") : QStringLiteral(".jpg")));
        }
    }
    for (bool held : { false, true }) {
        QImage thumb = Filled(14, 36, Palette::Parchment);
        QPainter p(&thumb);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 14, 0);
        const QColor face = held ? Palette::Gold : Palette::FrameLight;
        g.setColorAt(0, face.lighter(120));
        g.setColorAt(1, face.darker(110));
        p.setBrush(g);
        p.setPen(QPen(held ? Palette::GoldDark : Palette::Gold, 1));
        p.drawRoundedRect(QRectF(1.5, 0.5, 11, 35), 5, 5);
        p.setPen(QPen(held ? Palette::FrameDark : Palette::GoldLight, 1));
        for (int y : { 14, 18, 22 })
            p.drawLine(QPointF(4.5, y + 0.5), QPointF(9.5, y + 0.5));
        p.end();
        Save(thumb, held ? QStringLiteral("ScrollPositionActive.jpg") : QStringLiteral("ScrollPosition.jpg"));
    }
    // The track is uniform along its length: the layout sets its height.
    QImage track = Filled(4, 600, Palette::ParchmentDeep);
    {
        QPainter p(&track);
        p.fillRect(QRect(1, 0, 2, 600), Palette::Gold.lighter(115));
    }
    Save(track, QStringLiteral("ScrollLine.jpg"));
}

void SkinPainter::PaintMenu()
{
    struct TitleLook
    {
        QString name;
        QColor top, bottom, line;
    };
    const TitleLook titles[] = {
        { QStringLiteral("Title.jpg"), Palette::FrameLight, Palette::Frame, Palette::Gold },
        { QStringLiteral("TitleMouseOver.jpg"), Palette::FrameGlow, Palette::FrameLight, Palette::GoldLight },
        { QStringLiteral("TitleSelected.jpg"), Palette::GoldLight, Palette::Gold, Palette::GoldDark },
    };
    for (const TitleLook &look : titles) {
        QImage image = Filled(kMenuWidth, kTitleHeight, Palette::Parchment);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, kTitleHeight);
        g.setColorAt(0, look.top);
        g.setColorAt(1, look.bottom);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1, 1, kMenuWidth - 2, kTitleHeight - 2), 5, 5);
        p.setPen(QPen(look.line, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(1.5, 1.5, kMenuWidth - 3, kTitleHeight - 3), 5, 5);
        // A thin inner rule instead of end ornaments: long chapter titles use the
        // whole width.
        p.setPen(QPen(look.line.darker(115), 0.8));
        p.drawLine(QPointF(8, kTitleHeight - 5.5), QPointF(kMenuWidth - 8, kTitleHeight - 5.5));
        p.end();
        Save(image, look.name);
    }

    struct LinkLook
    {
        QString name;
        QColor face, edge;
        bool marked;
    };
    const LinkLook links[] = {
        { QStringLiteral("SubtitleBack.jpg"), Palette::Parchment, Palette::ParchmentDeep, false },
        { QStringLiteral("SubtitleMouseOver.jpg"), Palette::GoldLight.lighter(125), Palette::Gold, false },
        { QStringLiteral("SubtitleActive.jpg"), Palette::ParchmentLight, Palette::Gold, true },
    };
    for (const LinkLook &look : links) {
        QImage image = Filled(kMenuWidth, kLinkHeight, Palette::Parchment);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(look.face);
        p.drawRoundedRect(QRectF(6, 1, kMenuWidth - 12, kLinkHeight - 2), 4, 4);
        p.setPen(QPen(look.edge, 1));
        p.drawLine(QPointF(14, kLinkHeight - 0.5), QPointF(kMenuWidth - 14, kLinkHeight - 0.5));
        if (look.marked) {
            p.setPen(QPen(Palette::Gold, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(6.5, 1.5, kMenuWidth - 13, kLinkHeight - 3), 4, 4);
            p.setPen(Qt::NoPen);
            p.setBrush(Palette::Gold);
            p.drawRoundedRect(QRectF(kMenuWidth - 10, 5, 3, kLinkHeight - 10), 1.5, 1.5);
        } else {
            // a bullet at the reading start
            p.setPen(QPen(look.edge == Palette::Gold ? Palette::GoldDark : Palette::Gold, 1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(Ornament::Khatam(QPointF(kMenuWidth - 15, kLinkHeight / 2.0), 3.5));
        }
        p.end();
        Save(image, look.name);
    }

    // The marker of the selected lesson stands on the vertical line and points
    // to the menu.
    {
        QImage slider = Filled(9, kLinkHeight, Palette::Frame);
        QPainter p(&slider);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRect(0, 0, 3, kLinkHeight), Palette::Gold);
        QPainterPath arrow;
        arrow.moveTo(0, kLinkHeight / 2.0 - 7);
        arrow.lineTo(8.5, kLinkHeight / 2.0);
        arrow.lineTo(0, kLinkHeight / 2.0 + 7);
        arrow.closeSubpath();
        FillGlyph(p, arrow, Palette::GoldLight);
        p.end();
        Save(slider, QStringLiteral("slider.jpg"));
    }
    {
        QImage line = Filled(3, 502, Palette::Frame);
        QPainter p(&line);
        QLinearGradient g(0, 0, 0, 502);
        g.setColorAt(0, Palette::Frame);
        g.setColorAt(0.08, Palette::GoldDark);
        g.setColorAt(0.5, Palette::Gold);
        g.setColorAt(0.92, Palette::GoldDark);
        g.setColorAt(1, Palette::Frame);
        p.fillRect(QRect(1, 0, 1, 502), g);
        p.end();
        Save(line, QStringLiteral("VLine.jpg"));
    }
    for (bool up : { true, false }) {
        for (bool hover : { false, true }) {
            QImage image = Filled(36, 13, Palette::Parchment);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(hover ? Palette::FrameLight : Palette::ParchmentDeep);
            p.drawRoundedRect(QRectF(0.5, 0.5, 35, 12), 6, 6);
            FillGlyph(p, Glyphs::Chevron(QRectF(13, up ? 4 : 4.5, 10, 4.5), up, 2),
                hover ? Palette::GoldLight : Palette::Frame);
            p.end();
            Save(image,
                QStringLiteral("Menuscroll") + (up ? QStringLiteral("up") : QStringLiteral("down"))
                    + (hover ? QStringLiteral("Active.jpg") : QStringLiteral(".jpg")));
        }
    }
}

void SkinPainter::PaintIndexBackground()
{
    // Behind an index lesson's title and entry links: parchment with a faint
    // rosette, calm enough for the links to read over it.
    const int w = 505;
    const int h = 400;
    QImage image = Filled(w, h, Palette::Parchment);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Palette::Gold, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6.5, 6.5, w - 13, h - 13), 10, 10);
    p.setPen(QPen(Palette::ParchmentDeep.darker(103), 1));
    p.drawRoundedRect(QRectF(10.5, 10.5, w - 21, h - 21), 8, 8);
    const QPointF c(w / 2.0, h / 2.0 + 20);
    QColor faint = Palette::ParchmentDeep;
    p.setPen(QPen(faint, 2));
    for (double r : { 150.0, 110.0, 70.0 })
        p.drawPath(Ornament::Star(c, r));
    p.drawPath(Ornament::Khatam(c, 40));
    p.drawEllipse(c, 158, 158);
    for (const QPointF corner :
        { QPointF(30, 30), QPointF(w - 30, 30), QPointF(30, h - 30), QPointF(w - 30, h - 30) }) {
        p.setPen(QPen(Palette::Gold, 1));
        p.drawPath(Ornament::Khatam(corner, 9));
    }
    p.end();
    SaveGif(image, QStringLiteral("back.gif"));
}

void SkinPainter::PaintMessageButton()
{
    // On the dialog's white card.
    for (bool hover : { false, true }) {
        QImage image = Filled(28, 27, Qt::white);
        QPainter p(&image);
        Disc(p, QRectF(1, 0.5, 26, 26), hover ? Palette::Gold : Palette::FrameLight,
            hover ? Palette::GoldDark : Palette::Gold);
        FillGlyph(p, Glyphs::Check(QRectF(8, 9, 12, 9), 2.6), hover ? Palette::FrameDark : Palette::ParchmentLight);
        p.end();
        Save(image, hover ? QStringLiteral("msgokover.jpg") : QStringLiteral("msgok.jpg"));
    }
}

void SkinPainter::PaintCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath hand = Glyphs::Hand();
    p.setPen(QPen(Qt::black, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 0.9));
    for (double x : { 15.25, 19.75, 24.25 })
        p.drawLine(QPointF(x, 16), QPointF(x, 19.5));
    p.end();
    // The AND mask is binary: half-covered edge pixels become either fully
    // transparent or fully opaque.
    for (int y = 0; y < 32; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < 32; ++x) {
            const int a = qAlpha(row[x]);
            if (a < 96) {
                row[x] = qRgba(0, 0, 0, 0);
            } else {
                // the image is not premultiplied: the colour stays, the edge turns opaque
                row[x] = (row[x] & 0x00FFFFFF) | 0xFF000000;
            }
        }
    }
    if (CursorWriter::Write(image, QPoint(12, 1), m_out.filePath(QStringLiteral("HandCursor.cur"))))
        m_written << QStringLiteral("HandCursor.cur");
    else
        m_errors << QStringLiteral("HandCursor.cur");
}
