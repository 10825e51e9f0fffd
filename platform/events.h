#pragma once

#include <utility>

namespace kvx {

// Raises an event. The handler is copied first: it may unload its own
// control, which would otherwise destroy the callable while it runs.
template<typename F, typename... Args>
void fire(const F &handler, Args &&...args)
{
    if (!handler)
        return;
    const F call = handler;
    call(std::forward<Args>(args)...);
}

} // namespace kvx
