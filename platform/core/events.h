#pragma once

#include "platform/core/errors.h"

#include <functional>
#include <utility>

namespace kvx {

// Shows a run-time error that an event handler did not handle: the user is
// told and the program goes on, as after any event.
void reportHandlerError(const PlatformError &error);

// Runs code on behalf of the user's action; the one place where a handler's
// platform error is caught and shown. Events and menu commands come here.
inline void runHandler(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const PlatformError &error) {
        reportHandlerError(error);
    }
}

// Raises an event. The handler is copied first: it may unload its own
// control, which would otherwise destroy the callable while it runs.
template<typename F, typename... Args>
void fire(const F &handler, Args &&...args)
{
    if (!handler)
        return;
    const F call = handler;
    try {
        call(std::forward<Args>(args)...);
    } catch (const PlatformError &error) {
        reportHandlerError(error);
    }
}

} // namespace kvx
