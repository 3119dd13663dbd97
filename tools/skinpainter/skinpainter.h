// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>

class QPainter;

// Paints every picture of the skin folder. Sizes that the program's layout is
// computed from are fixed here; buttons that sit on the window background are
// painted on a crop of main.jpg at their place, so they join it seamlessly.
class SkinPainter final
{
public:
    explicit SkinPainter(const QString &outDir);

    // Writes all files; false (with the failing names in Errors()) if any
    // could not be written.
    bool PaintAll();
    const QStringList &Errors() const { return m_errors; }
    const QStringList &Written() const { return m_written; }

private:
    void PaintMain();
    void PaintWindowButtons();
    void PaintVolumeControls();
    void PaintExamplesBar();
    void PaintRecorder();
    void PaintPracticeExtras();
    void PaintDocumentScrollBar();
    void PaintMenu();
    void PaintIndexBackground();
    void PaintMessageButton();
    void PaintCursor();

    QImage Crop(int x, int y, int w, int h) const;
    static QImage Filled(int w, int h, const QColor &colour);
    void Save(const QImage &image, const QString &name);
    void SaveGif(const QImage &image, const QString &name);

    QDir m_out;
    QImage m_main;
    QImage m_samplesBar;
    QImage m_recBack;
    QStringList m_errors;
    QStringList m_written;
};
