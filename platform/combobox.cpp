#include "platform/combobox.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"

namespace kvx {

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent), WindowedControl(this)
{
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet)
            fire(Click);
    });
}

void ComboBox::AddItem(const QString &item, int index)
{
    if (index < -1 || index > count())
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid argument"));
    // The first item added must not become the choice by itself.
    const int chosen = currentIndex();
    m_quiet = true;
    insertItem(index < 0 ? count() : index, item);
    if (chosen < 0)
        setCurrentIndex(-1);
    m_quiet = false;
}

void ComboBox::Clear()
{
    m_quiet = true;
    clear();
    m_quiet = false;
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    setCurrentIndex(index);
}

bool ComboBox::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QComboBox::event(event);
}

} // namespace kvx
