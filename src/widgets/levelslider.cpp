// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/levelslider.h"

#include <QAccessibleWidget>

namespace {

class AccessibleLevelSlider final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleLevelSlider(LevelSlider *slider)
        : QAccessibleWidget(slider, QAccessible::Slider)
    {
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(slider()->value()) + QLatin1Char('%');
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double wanted = value.toDouble(&ok);
        if (!ok || !slider()->isEnabled())
            return;
        emit slider()->ValueRequested(qBound(LevelSlider::Minimum, qRound(wanted), LevelSlider::Maximum));
    }
    QVariant maximumValue() const override { return LevelSlider::Maximum; }
    QVariant minimumValue() const override { return LevelSlider::Minimum; }
    QVariant minimumStepSize() const override { return LevelSlider::Step; }

private:
    LevelSlider *slider() const { return static_cast<LevelSlider *>(widget()); }
};

QAccessibleInterface *levelSliderFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("LevelSlider") && object && object->isWidgetType())
        return new AccessibleLevelSlider(static_cast<LevelSlider *>(object));
    return nullptr;
}

} // namespace

LevelSlider::LevelSlider(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(levelSliderFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LevelSlider::showValue(int percent)
{
    percent = qBound(Minimum, percent, Maximum);
    if (percent == m_value)
        return;
    m_value = percent;
    QAccessibleValueChangeEvent ev(this, m_value);
    QAccessible::updateAccessibility(&ev);
}
