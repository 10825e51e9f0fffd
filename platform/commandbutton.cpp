#include "platform/commandbutton.h"

#include "platform/core/events.h"

namespace kvx {

CommandButton::CommandButton(QWidget *parent) : QPushButton(parent), WindowedControl(this)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { fire(Click); });
}

CommandButton *CommandButton::loadCopy() const
{
    auto *copy = new CommandButton(parentWidget());
    copy->copyCommonFrom(*this);
    copy->setText(text());
    copy->setBackColor(m_backColor);
    return copy;
}

void CommandButton::setBackColor(quint32 color)
{
    m_backColor = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Button, resolveColor(color));
    setPalette(colors);
}

bool CommandButton::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QPushButton::event(event);
}

} // namespace kvx
