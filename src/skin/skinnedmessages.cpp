// SPDX-License-Identifier: GPL-3.0-or-later

#include "skinnedmessages.h"

#include "skin/msgform.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

SkinnedMessages::SkinnedMessages(QWidget *owner)
    : m_owner(owner)
{
}

// The plain box is news, not a question: it stays on screen until it is
// read and let go, while the window goes on working and painting beneath it.
// A modal box here (the mixer's "No mixer found!" comes as the first page is
// shown) held every click on the window until it was dismissed, and one
// opened while the window was still being mapped could stay unpainted.
void SkinnedMessages::ShowMessageBox(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, m_owner);
    box->setObjectName(QStringLiteral("MessageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setLayoutDirection(Qt::RightToLeft);
    box->show();
    box->raise();
    box->activateWindow();
}

bool SkinnedMessages::Confirm(const QString &question, const QString &yes, const QString &no)
{
    QPointer<QMessageBox> box
        = new QMessageBox(QMessageBox::Warning, QString(), question, QMessageBox::NoButton, m_owner);
    box->setObjectName(QStringLiteral("Question"));
    box->setLayoutDirection(Qt::RightToLeft);
    QPushButton *yesButton = box->addButton(yes, QMessageBox::DestructiveRole);
    QPushButton *noButton = box->addButton(no, QMessageBox::RejectRole);
    box->setDefaultButton(noButton);
    box->setEscapeButton(noButton);
    box->exec();
    const bool answer = box && box->clickedButton() == yesButton;
    delete box.data();
    return answer;
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
