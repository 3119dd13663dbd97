// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/activelink.h"

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
    void flagsBecomeStates_data();
    void flagsBecomeStates();
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
    // Not while the screen reader waits for its answer, but right after.
    QCOMPARE(click.size(), 0);
    QTRY_COMPARE(click.size(), 1);
    // A press that arrives once the control is disabled does nothing.
    action->doAction(QAccessibleActionInterface::pressAction());
    button->setEnabled(false);
    QTest::qWait(20);
    QCOMPARE(click.size(), 1);
    button->setEnabled(true);

    QAccessibleInterface *l = QAccessible::queryAccessibleInterface(lesson);
    QCOMPARE(l->role(), QAccessible::Link);
    QCOMPARE(l->text(QAccessible::Name), QStringLiteral("الإظهار الحلقي"));

    button->setEnabled(false);
    QVERIFY(a->actionInterface()->actionNames().isEmpty());
    QVERIFY(a->state().disabled);
}

void TestActiveLink::flagsBecomeStates_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("expandable");
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<bool>("collapsed");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("isDefault");
    QTest::newRow("closed chapter") << int(ActiveLink::Expandable) << true << false << true << false << false << false
                                    << false;
    QTest::newRow("open chapter") << int(ActiveLink::Expandable | ActiveLink::Expanded) << true << true << false
                                  << false << false << false << false;
    QTest::newRow("chosen lesson") << int(ActiveLink::Selectable | ActiveLink::Selected) << false << false << false
                                   << true << false << false << false;
    QTest::newRow("toggle off") << int(ActiveLink::Checkable) << false << false << false << false << false << false
                                << false;
    QTest::newRow("toggle on") << int(ActiveLink::Checkable | ActiveLink::Checked) << false << false << false << false
                               << true << true << false;
    QTest::newRow("dialog's OK") << int(ActiveLink::DefaultButton) << false << false << false << false << false << false
                                 << true;
}

void TestActiveLink::flagsBecomeStates()
{
    QFETCH(int, flags);
    QFETCH(bool, expandable);
    QFETCH(bool, expanded);
    QFETCH(bool, collapsed);
    QFETCH(bool, selected);
    QFETCH(bool, checked);
    QFETCH(bool, pressed);
    QFETCH(bool, isDefault);
    QWidget window;
    auto *link = new ActiveLink(&window);
    window.show();
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(link);
    // Every flag on and off again first: what is cleared must not linger.
    for (int bit = 1; bit <= 0x40; bit <<= 1)
        link->setAccessibleFlag(ActiveLink::AccessibleFlag(bit), true);
    for (int bit = 1; bit <= 0x40; bit <<= 1)
        link->setAccessibleFlag(ActiveLink::AccessibleFlag(bit), (flags & bit) != 0);
    const QAccessible::State s = a->state();
    QCOMPARE(bool(s.expandable), expandable);
    QCOMPARE(bool(s.expanded), expanded);
    QCOMPARE(bool(s.collapsed), collapsed);
    QCOMPARE(bool(s.selected), selected);
    QCOMPARE(bool(s.checked), checked);
    QCOMPARE(bool(s.pressed), pressed);
    QCOMPARE(bool(s.defaultButton), isDefault);
}

QTEST_MAIN(TestActiveLink)
#include "test_activelink.moc"
