#include "platform/checkbox.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"

namespace kvx {

CheckBox::CheckBox(QWidget *parent) : QCheckBox(parent), WindowedControl(this)
{
    connect(this, &QCheckBox::toggled, this, [this] { fire(Click); });
}

CheckBox *CheckBox::loadCopy() const
{
    auto *copy = new CheckBox(parentWidget());
    copy->copyCommonFrom(*this);
    copy->setText(text());
    copy->setChecked(isChecked());
    return copy;
}

void CheckBox::setValue(int value)
{
    if (value != 0 && value != 1)
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    setChecked(value == 1);
}

bool CheckBox::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QCheckBox::event(event);
}

} // namespace kvx
