#include "platform/accessible.h"

#include "platform/container.h"
#include "platform/lightcontrol.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace kvx {

namespace {

// One lightweight control: its texts and role come from the form, its place
// and state from the control and its container.
class LightItemAccessible : public QAccessibleInterface
{
public:
    LightItemAccessible(Container &container, const LightControl &item) : m_container(&container), m_item(&item) {}

    bool isValid() const override { return m_container && m_container->accessibleItems(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_container ? m_container->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_container); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return described().name;
        if (t == QAccessible::Description)
            return described().description;
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!m_container)
            return {};
        const QRect local = m_item->pixelRect().translated(m_container->clientOrigin());
        return {m_container->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override { return isValid() ? described().role : QAccessible::NoRole; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!m_container)
            return state;
        const bool current = m_container->currentItem() == m_item;
        state.invisible = !m_item->Visible() || !m_container->isVisible();
        state.focusable = true;
        state.selectable = true;
        state.selected = current;
        state.focused = current && m_container->isActiveWindow();
        return state;
    }

private:
    AccessibleItem described() const { return m_container->accessibleItems()->describe(*m_item); }

    QPointer<Container> m_container;
    const LightControl *m_item;
};

// A container's accessible object: its listed items first, then its child
// widgets as Qt lists them.
class ContainerAccessible : public QAccessibleWidget
{
public:
    explicit ContainerAccessible(Container *container) : QAccessibleWidget(container, QAccessible::Client) {}

    QAccessible::Role role() const override
    {
        AccessibleItems *items = container()->accessibleItems();
        return items ? items->role() : QAccessibleWidget::role();
    }
    int childCount() const override { return int(items().size()) + QAccessibleWidget::childCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<const LightControl *> listed = items();
        if (index < 0)
            return nullptr;
        if (index < listed.size())
            return container()->accessibleItems()->interfaceOf(*container(), *listed[index]);
        return QAccessibleWidget::child(index - int(listed.size()));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QList<const LightControl *> listed = items();
        for (qsizetype i = 0; i < listed.size(); ++i) {
            if (container()->accessibleItems()->interfaceOf(*container(), *listed[i]) == child)
                return int(i);
        }
        const int widget = QAccessibleWidget::indexOfChild(child);
        return widget < 0 ? -1 : widget + int(listed.size());
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QList<const LightControl *> listed = items();
        const QPoint at = container()->mapFromGlobal(QPoint(x, y)) - container()->clientOrigin();
        // Topmost first: the list is in reading order, the hit test in stacking order.
        const LightControl *hit = container()->itemAt(at);
        if (hit && listed.contains(hit))
            return container()->accessibleItems()->interfaceOf(*container(), *hit);
        return QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface *focusChild() const override
    {
        const LightControl *current = container()->currentItem();
        if (current && container()->accessibleItems() && items().contains(current))
            return container()->accessibleItems()->interfaceOf(*container(), *current);
        return QAccessibleWidget::focusChild();
    }

private:
    Container *container() const { return static_cast<Container *>(widget()); }
    QList<const LightControl *> items() const
    {
        AccessibleItems *items = container()->accessibleItems();
        return items ? items->items() : QList<const LightControl *>();
    }
};

QAccessibleInterface *containerFactory(const QString &, QObject *object)
{
    if (auto *container = qobject_cast<Container *>(object))
        return new ContainerAccessible(container);
    return nullptr;
}

} // namespace

AccessibleItems::AccessibleItems(QAccessible::Role role, List list, Describe describe)
    : m_role(role),
      m_list(std::move(list)),
      m_describe(std::move(describe))
{
}

AccessibleItems::~AccessibleItems()
{
    // At the program's end Qt may have deleted every accessible object first.
    if (!QCoreApplication::instance())
        return;
    for (const auto &[item, id] : m_ids)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *AccessibleItems::interfaceOf(Container &container, const LightControl &item)
{
    auto found = m_ids.find(&item);
    if (found == m_ids.end())
        found = m_ids.emplace(&item, QAccessible::registerAccessibleInterface(new LightItemAccessible(container, item)))
                    .first;
    return QAccessible::accessibleInterface(found->second);
}

void AccessibleItems::forget(const LightControl *item)
{
    const auto found = m_ids.find(item);
    if (found == m_ids.end())
        return;
    QAccessible::deleteAccessibleInterface(found->second);
    m_ids.erase(found);
}

void AccessibleItems::announce(Container &container, const LightControl &item)
{
    if (!QAccessible::isActive() || !m_list().contains(&item))
        return;
    QAccessibleInterface *iface = interfaceOf(container, item);
    QAccessibleEvent focus(iface, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent selection(iface, QAccessible::Selection);
    QAccessible::updateAccessibility(&selection);
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(containerFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kvx
