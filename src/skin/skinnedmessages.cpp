// SPDX-License-Identifier: GPL-3.0-or-later

#include "skinnedmessages.h"

#include "skin/msgform.h"

#include <QMessageBox>
#include <QPointer>

SkinnedMessages::SkinnedMessages(QWidget *owner)
    : m_owner(owner)
{
}

void SkinnedMessages::ShowMessageBox(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, m_owner);
    box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}

void SkinnedMessages::ShowMsgForm(const QString &message)
{
    // A fresh dialog for every message: it reads the text and the pictures as it
    // is built. Held by a guard because closing the owner during exec() takes
    // its children with it.
    QPointer<MsgForm> form = new MsgForm(m_imagesPath, message, m_owner);
    form->exec();
    delete form.data();
}
