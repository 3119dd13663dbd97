#include "components/activelink.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

namespace {

QPixmap filled(const QColor &color)
{
    QPixmap p(20, 10);
    p.fill(color);
    return p;
}

QColor shownColour(ActiveLink &link)
{
    return link.grab().toImage().pixelColor(5, 5);
}

} // namespace

class TestActiveLink final : public QObject
{
    Q_OBJECT
private slots:
    void hoverSwapsPictureItself();
    void clickComesAfterReleaseOverTheControl_data();
    void clickComesAfterReleaseOverTheControl();
    void disabledIgnoresClicks();
    void screenReaderSeesRoleNameAndPress();
};

void TestActiveLink::hoverSwapsPictureItself()
{
    ActiveLink link;
    link.resize(20, 10);
    link.setPicture(filled(Qt::red));
    link.setActivepicture(filled(Qt::blue));
    link.show();
    QCOMPARE(shownColour(link), QColor(Qt::red));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&link, &enter);
    QVERIFY(link.isHovered());
    QCOMPARE(shownColour(link), QColor(Qt::blue));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    QCOMPARE(shownColour(link), QColor(Qt::red));
}

void TestActiveLink::clickComesAfterReleaseOverTheControl_data()
{
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("clicks");
    QTest::newRow("release inside") << QPoint(5, 5) << int(Qt::LeftButton) << 1;
    QTest::newRow("release outside") << QPoint(50, 5) << int(Qt::LeftButton) << 0;
    QTest::newRow("right button") << QPoint(5, 5) << int(Qt::RightButton) << 0;
}

void TestActiveLink::clickComesAfterReleaseOverTheControl()
{
    QFETCH(QPoint, releaseAt);
    QFETCH(int, button);
    QFETCH(int, clicks);
    ActiveLink link;
    link.resize(20, 10);
    link.show();
    QSignalSpy click(&link, &ActiveLink::Click);
    QSignalSpy down(&link, &ActiveLink::MouseDown);
    QSignalSpy up(&link, &ActiveLink::MouseUp);
    QTest::mousePress(&link, Qt::MouseButton(button), {}, QPoint(5, 5));
    QCOMPARE(down.size(), 1);
    QCOMPARE(click.size(), 0); // nothing before the release
    QTest::mouseRelease(&link, Qt::MouseButton(button), {}, releaseAt);
    QCOMPARE(up.size(), 1);
    QCOMPARE(click.size(), clicks);
}

void TestActiveLink::disabledIgnoresClicks()
{
    ActiveLink link;
    link.resize(20, 10);
    link.show();
    link.setEnabled(false);
    QSignalSpy click(&link, &ActiveLink::Click);
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    link.press();
    QCOMPARE(click.size(), 0);
}

void TestActiveLink::screenReaderSeesRoleNameAndPress()
{
    QWidget window;
    auto *button = new ActiveLink(&window);
    button->setAccessibleName(QStringLiteral("تسجيل"));
    auto *lesson = new ActiveLink(&window);
    lesson->setAccessibleRole(QAccessible::Link);
    lesson->setCaption(QStringLiteral("الإظهار الحلقي"));
    window.show();

    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(button);
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::Button);
    QCOMPARE(a->text(QAccessible::Name), QStringLiteral("تسجيل"));
    QAccessibleActionInterface *action = a->actionInterface();
    QVERIFY(action);
    QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy click(button, &ActiveLink::Click);
    action->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(click.size(), 1);

    QAccessibleInterface *l = QAccessible::queryAccessibleInterface(lesson);
    QCOMPARE(l->role(), QAccessible::Link);
    QCOMPARE(l->text(QAccessible::Name), QStringLiteral("الإظهار الحلقي"));

    button->setEnabled(false);
    QVERIFY(a->actionInterface()->actionNames().isEmpty());
    QVERIFY(a->state().disabled);
}

QTEST_MAIN(TestActiveLink)
#include "test_activelink.moc"
