// SPDX-License-Identifier: GPL-3.0-or-later

#include "skin/msgform.h"
#include "skin/skinnedmessages.h"
#include "skin/windowshapes.h"
#include "widgets/activelink.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QColor kRestColor(200, 30, 30);
const QColor kHoverColor(30, 160, 40);

// Rows of the label that carry ink of the text colour.
QList<int> inkRows(QLabel *label)
{
    const QImage image = label->grab().toImage();
    const QColor ink = label->palette().color(QPalette::WindowText);
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - ink.red()) + qAbs(c.green() - ink.green()) + qAbs(c.blue() - ink.blue()) < 60) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

QColor centreColor(QWidget *w)
{
    const QImage image = w->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool near(const QColor &a, const QColor &b)
{
    // JPEG keeps flat colours within a few steps.
    return qAbs(a.red() - b.red()) < 16 && qAbs(a.green() - b.green()) < 16 && qAbs(a.blue() - b.blue()) < 16;
}

void sendMouse(
    QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestMsgForm final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void designOfTheDialog();
    void everyShowingReadsTheMessage();
    void longTextWrapsAndIsCut();
    void leadingLineBreakStartsOnTheSecondLine();
    void longestMessageFits();
    void hoverSwapsThePicture();
    void okClickCloses();
    void keyboardCloses();
    void dragFromTheCard();
    void noDragFromTextOrButton();
    void noDragByOtherButtons_data();
    void noDragByOtherButtons();
    void okPicturesInAnyLetterCase();
    void centredOverTheOwner();
    void missingPictureStillCloseable();
    void cardFollowsTheOutline();
    void screenReaderHearsAnAlert();
    void thePlainBoxLeavesTheWindowWorking();

private:
    QTemporaryDir m_skin;
    QString m_imagesPath;
};

void TestMsgForm::initTestCase()
{
    QFont::insertSubstitution(QStringLiteral("Traditional Arabic"), QStringLiteral("Amiri"));
    QVERIFY(m_skin.isValid());
    m_imagesPath = m_skin.path() + QLatin1Char('/');
    QImage rest(28, 27, QImage::Format_RGB32);
    rest.fill(kRestColor);
    QVERIFY(rest.save(m_imagesPath + QStringLiteral("msgok.jpg")));
    QImage hover(28, 27, QImage::Format_RGB32);
    hover.fill(kHoverColor);
    QVERIFY(hover.save(m_imagesPath + QStringLiteral("msgokover.jpg")));
}

void TestMsgForm::screenReaderHearsAnAlert()
{
    MsgForm form(m_imagesPath, QStringLiteral("سطر أول\r\nسطر ثان"));
    form.show();
    QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(&form);
    QCOMPARE(dialog->role(), QAccessible::AlertMessage);
    QCOMPARE(dialog->text(QAccessible::Name), QStringLiteral("سطر أول\nسطر ثان"));
    QAccessibleInterface *ok = QAccessible::queryAccessibleInterface(form.OKb());
    QVERIFY(ok->state().defaultButton);
    QCOMPARE(form.focusWidget(), form.OKb());
}

void TestMsgForm::designOfTheDialog()
{
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(form.size(), QSize(235, 149));
    QCOMPARE(form.msgtext()->geometry(), QRect(16, 16, 193, 113));
    QCOMPARE(form.OKb()->geometry(), QRect(8, 112, 28, 27));
    QVERIFY(form.OKb()->alwayshandcursor());
    QCOMPARE(form.OKb()->accessibleName(), QStringLiteral("موافق"));
    QVERIFY(form.OKb()->caption().isEmpty());
    QCOMPARE(form.msgtext()->font().pixelSize(), 19); // 14.25 pt at the skin's 96 DPI
    QVERIFY(form.msgtext()->font().bold());
    QCOMPARE(form.mask(), BuildOutline(MsgFormShapes(), 1, 1, 0, 0));
    // Presses in the cut-off corners never reach the window.
    QVERIFY(!form.mask().contains(QPoint(2, 2)));
    QVERIFY(!form.mask().contains(QPoint(232, 146)));
    QVERIFY(form.mask().contains(QPoint(225, 5)));
}

void TestMsgForm::everyShowingReadsTheMessage()
{
    SkinnedMessages messages;
    messages.setImagesPath(m_imagesPath);
    QStringList shown;
    QList<QPointer<MsgForm>> forms;
    // Answers each modal showing as a learner would: read it, press OK.
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *form = qobject_cast<MsgForm *>(QApplication::activeModalWidget());
        if (!form || !form->isVisible() || forms.contains(form))
            return;
        forms.append(form);
        // What the learner's screen reader reads out.
        QAccessibleInterface *text = QAccessible::queryAccessibleInterface(form->msgtext());
        shown.append(text ? text->text(QAccessible::Name) : QString());
        QTest::mouseClick(form->OKb(), Qt::LeftButton, Qt::NoModifier, QPoint(14, 13));
    });
    answer.start();
    messages.ShowMsgForm(QStringLiteral("الرسالة الأولى"));
    messages.ShowMsgForm(QStringLiteral("الرسالة الثانية"));
    answer.stop();
    QCOMPARE(shown, QStringList({ QStringLiteral("الرسالة الأولى"), QStringLiteral("الرسالة الثانية") }));
    // Each showing was its own dialog, gone once closed.
    QCOMPARE(forms.size(), 2);
    QVERIFY(forms.at(0).isNull());
    QVERIFY(forms.at(1).isNull());
}

void TestMsgForm::longTextWrapsAndIsCut()
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("لم تقم بالتدرب على هذا المثال سابقا ");
    MsgForm form(m_imagesPath, text);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(235, 149));
    QCOMPARE(form.msgtext()->size(), QSize(193, 113));
    QVERIFY(form.msgtext()->heightForWidth(193) > 113);
    // Several lines fill the label from top to bottom, and none reaches past it.
    const QList<int> rows = inkRows(form.msgtext());
    QVERIFY(!rows.isEmpty());
    QVERIFY2(rows.first() < 20, qPrintable(QString::number(rows.first())));
    QVERIFY2(rows.last() > 85, qPrintable(QString::number(rows.last())));

    MsgForm shortForm(m_imagesPath, QStringLiteral("قم بتسجيل تلاوتك أولا"));
    shortForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shortForm));
    const QList<int> shortRows = inkRows(shortForm.msgtext());
    QVERIFY(!shortRows.isEmpty());
    QVERIFY2(shortRows.last() < 45, qPrintable(QString::number(shortRows.last())));
}

void TestMsgForm::leadingLineBreakStartsOnTheSecondLine()
{
    const QString line = QStringLiteral("خطأ: أحد الملفات الخاصة بهذا المثال ناقص");
    MsgForm plain(m_imagesPath, line);
    MsgForm broken(m_imagesPath, QStringLiteral("\r\n") + line);
    plain.show();
    broken.show();
    QVERIFY(QTest::qWaitForWindowExposed(&broken));
    QCOMPARE(broken.message(), QStringLiteral("\n") + line);
    const QList<int> a = inkRows(plain.msgtext());
    const QList<int> b = inkRows(broken.msgtext());
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    const int lineHeight = qRound(0.8 * QFontMetrics(plain.msgtext()->font()).lineSpacing());
    QVERIFY2(qAbs((b.first() - a.first()) - lineHeight) <= 2,
        qPrintable(QStringLiteral("%1 %2 %3").arg(a.first()).arg(b.first()).arg(lineHeight)));
}

void TestMsgForm::longestMessageFits()
{
    MsgForm form(m_imagesPath,
        QStringLiteral("لم تقم بالتدرب على هذا المثال سابقا أو لعلك حذفت الملف الصوتي المسجَّل")
            + QStringLiteral("\r\nقم بتسجيل تلاوتك أولا"));
    QVERIFY2(
        form.msgtext()->heightForWidth(193) <= 113, qPrintable(QString::number(form.msgtext()->heightForWidth(193))));
    // Markup in a message is shown as it is written.
    MsgForm markup(m_imagesPath, QStringLiteral("<b>a & b</b>"));
    QAccessibleInterface *text = QAccessible::queryAccessibleInterface(markup.msgtext());
    QVERIFY(text);
    QCOMPARE(text->text(QAccessible::Name), QStringLiteral("<b>a & b</b>"));
}

void TestMsgForm::hoverSwapsThePicture()
{
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ActiveLink *ok = form.OKb();
    QVERIFY(near(centreColor(ok), kRestColor));
    QEnterEvent enter(QPointF(14, 13), QPointF(14, 13), QPointF(ok->mapToGlobal(QPoint(14, 13))));
    QApplication::sendEvent(ok, &enter);
    QVERIFY(near(centreColor(ok), kHoverColor));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(ok, &leave);
    QVERIFY(near(centreColor(ok), kRestColor));
}

void TestMsgForm::okClickCloses()
{
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.OKb(), Qt::LeftButton, Qt::NoModifier, QPoint(14, 13));
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestMsgForm::keyboardCloses()
{
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(&form, Qt::Key_Space);
    QVERIFY(!form.isVisible());
}

void TestMsgForm::dragFromTheCard()
{
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    form.move(200, 150);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    // (120, 135) is card: below the text, right of the button.
    sendMouse(&form, QEvent::MouseButtonPress, QPoint(120, 135), Qt::LeftButton, Qt::LeftButton);
    sendMouse(&form, QEvent::MouseMove, QPoint(150, 115), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(form.pos(), start + QPoint(30, -20));
    // The pointer now sits at (120, 135) of the moved dialog; the next step goes on from there.
    sendMouse(&form, QEvent::MouseMove, QPoint(125, 145), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(form.pos(), start + QPoint(35, -10));
    sendMouse(&form, QEvent::MouseButtonRelease, QPoint(125, 145), Qt::LeftButton, Qt::NoButton);
    const QPoint dropped = form.pos();
    sendMouse(&form, QEvent::MouseMove, QPoint(10, 60), Qt::NoButton, Qt::NoButton);
    QCOMPARE(form.pos(), dropped);
    QVERIFY(form.isVisible());
}

void TestMsgForm::noDragFromTextOrButton()
{
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    form.move(200, 150);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    QLabel *text = form.msgtext();
    sendMouse(text, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    sendMouse(text, QEvent::MouseMove, QPoint(80, 70), Qt::NoButton, Qt::LeftButton);
    sendMouse(text, QEvent::MouseButtonRelease, QPoint(80, 70), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(form.pos(), start);
    ActiveLink *ok = form.OKb();
    sendMouse(ok, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    sendMouse(ok, QEvent::MouseMove, QPoint(60, 40), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(form.pos(), start);
}

void TestMsgForm::noDragByOtherButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TestMsgForm::noDragByOtherButtons()
{
    QFETCH(int, button);
    const auto b = Qt::MouseButton(button);
    MsgForm form(m_imagesPath, QStringLiteral("نص"));
    form.move(200, 150);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    sendMouse(&form, QEvent::MouseButtonPress, QPoint(120, 135), b, b);
    sendMouse(&form, QEvent::MouseMove, QPoint(150, 115), Qt::NoButton, b);
    QCOMPARE(form.pos(), start);
    sendMouse(&form, QEvent::MouseButtonRelease, QPoint(150, 115), b, Qt::NoButton);
}

// A skin made on a case-blind file system names its files as it likes.
void TestMsgForm::okPicturesInAnyLetterCase()
{
    QTemporaryDir skin;
    const QString path = skin.path() + QLatin1Char('/');
    QImage rest(28, 27, QImage::Format_RGB32);
    rest.fill(kRestColor);
    QVERIFY(rest.save(path + QStringLiteral("MsgOK.jpg")));
    QImage hover(28, 27, QImage::Format_RGB32);
    hover.fill(kHoverColor);
    QVERIFY(hover.save(path + QStringLiteral("MSGOKOVER.JPG"), "JPG"));
    MsgForm form(path, QStringLiteral("نص"));
    QVERIFY(!form.OKb()->picture().isNull());
    QVERIFY(!form.OKb()->activepicture().isNull());
    QVERIFY(form.OKb()->caption().isEmpty());
}

void TestMsgForm::centredOverTheOwner()
{
    QWidget owner;
    owner.setGeometry(100, 80, 786, 632);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    auto *child = new QWidget(&owner);
    MsgForm form(m_imagesPath, QStringLiteral("نص"), child);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint offset = form.geometry().center() - owner.geometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(form.parentWidget(), &owner);
}

void TestMsgForm::missingPictureStillCloseable()
{
    QTemporaryDir empty;
    MsgForm form(empty.path() + QLatin1Char('/'), QStringLiteral("نص"));
    QVERIFY(form.OKb()->picture().isNull());
    QCOMPARE(form.OKb()->caption(), QStringLiteral("موافق"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.OKb(), Qt::LeftButton, Qt::NoModifier, QPoint(14, 13));
    QVERIFY(!form.isVisible());
}

void TestMsgForm::cardFollowsTheOutline()
{
    const QImage card = MsgForm::BackgroundCard().toImage();
    QCOMPARE(card.size(), QSize(235, 149));
    const QRegion outline = BuildOutline(MsgFormShapes(), 1, 1, 0, 0);
    // White card inside, grey shadow along the right and bottom edges within the cut.
    QCOMPARE(card.pixelColor(117, 74), QColor(Qt::white));
    QVERIFY(outline.contains(QPoint(232, 74)));
    QVERIFY(card.pixelColor(232, 74).lightness() < 245);
    QVERIFY(outline.contains(QPoint(117, 146)));
    QVERIFY(card.pixelColor(117, 146).lightness() < 245);
    // No shadow along the top and left edges.
    QCOMPARE(card.pixelColor(117, 1), QColor(Qt::white));
    QCOMPARE(card.pixelColor(1, 74), QColor(Qt::white));
}

// "No mixer found!" comes as the first page shows: a modal box held every
// click on the window until it was let go, blind.
void TestMsgForm::thePlainBoxLeavesTheWindowWorking()
{
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    SkinnedMessages messages(&owner);
    // Were the box modal, this would wait here until the timer let it go.
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    rescue.start(3000);
    QElapsedTimer shown;
    shown.start();
    messages.ShowMessageBox(QStringLiteral("No mixer found!"));
    QVERIFY2(shown.elapsed() < 2000, "the box waited for an answer");
    auto *box = owner.findChild<QMessageBox *>();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->text(), QStringLiteral("No mixer found!"));
    QVERIFY(!QApplication::activeModalWidget());
    QPointer<QMessageBox> gone(box);
    box->button(QMessageBox::Ok)->click();
    QTRY_VERIFY(gone.isNull());
}

QTEST_MAIN(TestMsgForm)
#include "test_msgform.moc"
