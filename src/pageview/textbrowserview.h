// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pageview/documentview.h"

class QTextBrowser;
class QTextDocument;
class QUrl;

// Lesson pages drawn by QTextBrowser. Pages may be stored in Windows-1256 or
// UTF-8; each is decoded by the charset it declares. The browser's own scroll
// bars are off: the window draws its own.
class TextBrowserView final : public DocumentView
{
    Q_OBJECT
public:
    explicit TextBrowserView(QWidget *parent = nullptr);
    ~TextBrowserView() override;

    QWidget *Widget() override;
    void Navigate(const QString &target) override;
    int ScrollHeight() const override;
    int ScrollTop() const override;
    void SetScrollTop(int top) override;
    QString LocationURL() const override { return m_location; }
    bool Busy() const override { return m_busy; }
    void SetHiddenEdges(const QMargins &edges) override;

    // Decodes an HTML page by its byte order mark or declared charset; pages that
    // declare nothing are taken as Windows-1256, the code page of course files,
    // unless they are valid UTF-8.
    static QString DecodePage(const QByteArray &bytes);
    // Fills the document with the page as the view shows it: decoded, and its
    // right-to-left tables put in reading order, and tables nested deeper than
    // the text engine can lay out in time set one cell after another.
    static void LoadPage(QTextDocument *document, const QByteArray &bytes);

private:
    void linkClicked(const QUrl &url);

    QTextBrowser *m_browser = nullptr;
    QString m_location;
    bool m_busy = false;
    int m_generation = 0;
};
