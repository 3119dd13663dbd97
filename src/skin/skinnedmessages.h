// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/messagesink.h"

class QWidget;

// The window's messages on screen: the standard message box, and the skinned
// message dialog for what the learner must read.
class SkinnedMessages final : public MessageSink
{
public:
    explicit SkinnedMessages(QWidget *owner = nullptr);
    void setOwner(QWidget *owner) { m_owner = owner; }
    void setImagesPath(const QString &imagesPath) { m_imagesPath = imagesPath; }

    void ShowMessageBox(const QString &text) override;
    void ShowMsgForm(const QString &message) override;
    bool Confirm(const QString &question, const QString &yes, const QString &no) override;

private:
    QWidget *m_owner = nullptr;
    QString m_imagesPath;
};
