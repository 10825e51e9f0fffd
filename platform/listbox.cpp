#include "platform/listbox.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"

namespace kvx {

ListBox::ListBox(QWidget *parent) : QListWidget(parent), WindowedControl(this)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            fire(Click);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { fire(DblClick); });
}

void ListBox::AddItem(const QString &item, int index)
{
    if (index < -1 || index > count())
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid argument"));
    m_quiet = true;
    insertItem(index < 0 ? count() : index, item);
    m_quiet = false;
}

void ListBox::Clear()
{
    m_quiet = true;
    clear();
    m_quiet = false;
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    setCurrentRow(index);
}

QString ListBox::Text() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->text() : QString();
}

QString ListBox::List(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    // Taking the focus must not choose an item by itself.
    const bool unchosen = currentRow() < 0;
    m_quiet = true;
    QListWidget::focusInEvent(event);
    if (unchosen && currentRow() >= 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_quiet = false;
}

bool ListBox::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QListWidget::event(event);
}

} // namespace kvx
