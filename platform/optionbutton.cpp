#include "platform/optionbutton.h"

#include "platform/core/events.h"

namespace kvx {

OptionButton::OptionButton(QWidget *parent) : QRadioButton(parent), WindowedControl(this)
{
    connect(this, &QRadioButton::clicked, this, &OptionButton::raiseClick);
}

OptionButton *OptionButton::loadCopy() const
{
    auto *copy = new OptionButton(parentWidget());
    copy->copyCommonFrom(*this);
    copy->setText(text());
    return copy;
}

void OptionButton::setValue(bool value)
{
    if (value == isChecked())
        return;
    setChecked(value);
    if (value)
        raiseClick();
}

void OptionButton::raiseClick()
{
    fire(Click);
}

bool OptionButton::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QRadioButton::event(event);
}

} // namespace kvx
