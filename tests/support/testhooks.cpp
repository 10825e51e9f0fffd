#include "support/testhooks.h"

#include "platform/errors.h"

namespace kvx::test {

Hooks::Hooks()
{
    setMsgBoxHook([this](const MsgBoxCall &call) {
        messages.append(call);
        if (!m_answers.empty()) {
            const int a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        const int buttons = call.style & 7;
        return buttons == 3 || buttons == 4 ? int(vbYes) : int(vbOK);
    });
    setEndHook([](int code) { throw ProgramEnded{code}; });
    setFileDialogHook([this](const FileDialogRequest &request) -> std::optional<QString> {
        fileRequests.append(request);
        if (m_files.empty())
            return std::nullopt;
        const auto f = m_files.front();
        m_files.pop_front();
        return f;
    });
    setColorDialogHook([this](quint32) -> std::optional<quint32> {
        ++colorRequests;
        if (m_colors.empty())
            return std::nullopt;
        const auto c = m_colors.front();
        m_colors.pop_front();
        return c;
    });
}

Hooks::~Hooks()
{
    setMsgBoxHook({});
    setEndHook({});
    setFileDialogHook({});
    setColorDialogHook({});
}

} // namespace kvx::test
