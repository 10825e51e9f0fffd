#pragma once

#include <memory>

namespace kvx {

// The one window of a kind for the whole run, made when first asked for, as
// a form of the classic program exists once. Derive a form T from
// SingleForm<T> and befriend it so that its constructor can stay private.
template<typename T>
class SingleForm
{
public:
    // Destroys the window, if made, without asking it anything; the next use
    // makes a new one (for a fresh start, and before the application goes).
    static void discard() { holder().reset(); }

protected:
    // The window, made if need be.
    static T &made()
    {
        std::unique_ptr<T> &form = holder();
        if (!form)
            form.reset(new T);
        return *form;
    }
    // The window if it is made, else nullptr.
    static T *existing() { return holder().get(); }

private:
    static std::unique_ptr<T> &holder()
    {
        static std::unique_ptr<T> form;
        return form;
    }
};

} // namespace kvx
