#pragma once

#include "platform/container.h"
#include "platform/core/errors.h"
#include "platform/windowedcontrol.h"

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

namespace kvx {

// A control array. The elements made at design time are added with add();
// the lowest of them (element 0) is the template. Load(i) makes element i as
// a copy of the template's current properties, hidden, stacked just above
// the template; Unload(i) destroys it. Handlers installed with on() receive
// the element's index and reach elements loaded later as well.
template<typename T>
class ControlArray
{
    static constexpr bool Lightweight = std::is_base_of_v<LightControl, T>;
    static_assert(Lightweight || std::is_base_of_v<WindowedControl, T>);

public:
    ControlArray() = default;
    explicit ControlArray(T *element0) { add(0, element0); }
    ControlArray(const ControlArray &) = delete;
    ControlArray &operator=(const ControlArray &) = delete;

    void add(int index, T *control)
    {
        if (index < 0 || !control)
            raiseError(ErrNoElement, noElement(index));
        if (exists(index))
            raiseError(ErrElementExists, QStringLiteral("Object already loaded"));
        store(index, control, true);
    }

    // Raises ErrNoElement when the element does not exist.
    T &operator()(int index) const
    {
        if (!exists(index))
            raiseError(ErrNoElement, noElement(index));
        return *m_elements[size_t(index)].control;
    }

    // Raises ErrElementExists when the element exists already.
    T *Load(int index)
    {
        if (index < 0)
            raiseError(ErrNoElement, noElement(index));
        if (exists(index))
            raiseError(ErrElementExists, QStringLiteral("Object already loaded"));
        T *templ = firstElement();
        if (!templ)
            raiseError(ErrNoElement, noElement(0));
        T *element = makeCopy(*templ);
        element->setVisible(false);
        element->setArrayIndex(this, index);
        if constexpr (Lightweight)
            templ->container()->stackLoaded(*element, *templ);
        else
            stackLoadedWidget(*element, *templ);
        store(index, element, false);
        return element;
    }

    // Raises ErrNoElement when the element does not exist, ErrDesignElement
    // for an element made at design time.
    void Unload(int index)
    {
        if (!exists(index))
            raiseError(ErrNoElement, noElement(index));
        Slot &slot = m_elements[size_t(index)];
        if (slot.design)
            raiseError(ErrDesignElement, QStringLiteral("Can't unload controls created at design time"));
        T *element = std::exchange(slot.control, nullptr);
        --m_count;
        element->unload();
    }

    bool exists(int index) const
    {
        return index >= 0 && size_t(index) < m_elements.size() && m_elements[size_t(index)].control;
    }
    int count() const { return m_count; }
    // Highest existing index; -1 when the array is empty.
    int ubound() const
    {
        for (size_t i = m_elements.size(); i > 0; --i) {
            if (m_elements[i - 1].control)
                return int(i - 1);
        }
        return -1;
    }

    // Installs a handler for an event of every element, e.g.
    // imgRack.on(&Image::Click, [this](int index) { imgRack_Click(index); }).
    template<typename C, typename R, typename... Args, typename F>
    void on(std::function<R(Args...)> C::*event, F handler)
    {
        static_assert(std::is_base_of_v<C, T>);
        auto binder = [event, handler](T &element, int index) {
            static_cast<C &>(element)
                .*event = [handler, index](Args... args) -> R { return handler(index, std::forward<Args>(args)...); };
        };
        for (size_t i = 0; i < m_elements.size(); ++i) {
            if (m_elements[i].control)
                binder(*m_elements[i].control, int(i));
        }
        m_binders.push_back(std::move(binder));
    }

private:
    struct Slot
    {
        T *control = nullptr;
        bool design = false;
    };

    static QString noElement(int index)
    {
        return QStringLiteral("Control array element '%1' doesn't exist").arg(index);
    }

    static T *makeCopy(const T &templ)
    {
        if constexpr (Lightweight)
            return templ.container()->createCopy(templ);
        else
            return templ.loadCopy();
    }

    T *firstElement() const
    {
        for (const Slot &slot : m_elements) {
            if (slot.design && slot.control)
                return slot.control;
        }
        return nullptr;
    }

    void store(int index, T *control, bool design)
    {
        if (size_t(index) >= m_elements.size())
            m_elements.resize(size_t(index) + 1);
        m_elements[size_t(index)] = Slot{control, design};
        ++m_count;
        control->setArrayIndex(this, index);
        for (const auto &bind : m_binders)
            bind(*control, index);
    }

    std::vector<Slot> m_elements;
    std::vector<std::function<void(T &, int)>> m_binders;
    int m_count = 0;
};

// Runs one statement and lets a platform error pass without stopping the
// caller, for the procedures that skip their failing statements. Returns
// whether the statement ran to its end.
template<typename F>
bool skipError(F &&statement)
{
    try {
        std::forward<F>(statement)();
        return true;
    } catch (const PlatformError &) {
        return false;
    }
}

} // namespace kvx
