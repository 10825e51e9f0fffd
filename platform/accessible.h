#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

#include <functional>
#include <unordered_map>

namespace kvx {

class Container;
class LightControl;

// What a screen reader is told of one lightweight control.
struct AccessibleItem
{
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString description;
};

// The lightweight controls of a container as a screen reader sees them.
// They are painted items, not widgets, so no accessible object would stand
// for them: the form lists the ones a user can act on, in reading order,
// and names each; the platform makes them accessible objects, children of
// the container's own, and tells of every change of the current item.
class AccessibleItems
{
public:
    using List = std::function<QList<const LightControl *>()>;
    using Describe = std::function<AccessibleItem(const LightControl &)>;

    // The role of the container itself: a list, a group...
    AccessibleItems(QAccessible::Role role, List list, Describe describe);
    ~AccessibleItems();
    AccessibleItems(const AccessibleItems &) = delete;
    AccessibleItems &operator=(const AccessibleItems &) = delete;

    QAccessible::Role role() const { return m_role; }
    QList<const LightControl *> items() const { return m_list(); }
    AccessibleItem describe(const LightControl &item) const { return m_describe(item); }

    // The item's accessible object, made when it is first asked for and
    // kept until the item goes.
    QAccessibleInterface *interfaceOf(Container &container, const LightControl &item);
    // The item is going: its object goes with it.
    void forget(const LightControl *item);
    // The item became the current one: focus and selection move to it.
    void announce(Container &container, const LightControl &item);

private:
    QAccessible::Role m_role;
    List m_list;
    Describe m_describe;
    std::unordered_map<const LightControl *, QAccessible::Id> m_ids;
};

// Lets a container's accessible object list its items; every container
// installs it when it is made, before anything can ask for that object.
void installAccessibleFactory();

} // namespace kvx
