// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMargins>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// The lesson page view. Everything outside this seam sees only a page that can be
// navigated to, measured and scrolled; which engine draws it stays in here.
class DocumentView : public QObject
{
    Q_OBJECT
public:
    static inline const QString Blank = QStringLiteral("about:blank");

    using QObject::QObject;
    ~DocumentView() override;

    virtual QWidget *Widget() = 0;
    // A local file path, or "about:blank".
    virtual void Navigate(const QString &target) = 0;
    // Full height of the page's body, in pixels.
    virtual int ScrollHeight() const = 0;
    virtual int ScrollTop() const = 0;
    // Clamped to 0..ScrollHeight - visible height.
    virtual void SetScrollTop(int top) = 0;
    // The current page: the path navigated to, "about:blank", or empty before any.
    virtual QString LocationURL() const = 0;
    virtual bool Busy() const = 0;
    // The strips of the view that its container hides (the window lays the view
    // out larger than its pane so that a browser's own edges stay out of sight).
    // The page is laid out inside the rest, so no text falls under the pane's edge.
    virtual void SetHiddenEdges(const QMargins &edges) = 0;

    // Offered every link of a page to another local page before the view goes
    // there itself; returns true when the window has taken the link over (a
    // lesson's page opens through the menu, so that the menu follows it).
    using LinkHandler = std::function<bool(const QString &path)>;
    void SetLinkHandler(LinkHandler handler) { m_linkHandler = std::move(handler); }

protected:
    bool OfferLink(const QString &path) const { return m_linkHandler && m_linkHandler(path); }

signals:
    // The page has been laid out and shown; its heights can be read.
    void DocumentComplete(const QString &location);
    // The page scrolled, by whatever means (the window's bar, the wheel, a key, an anchor).
    void ScrollChanged(int top);

private:
    LinkHandler m_linkHandler;
};
