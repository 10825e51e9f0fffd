#pragma once

#include "platform/units.h"
#include "platform/windowedcontrol.h"

#include <QPushButton>

namespace kvx {

// A command button: Click when it is pressed with the mouse or the keyboard.
class CommandButton : public QPushButton, public WindowedControl
{
    Q_OBJECT

public:
    explicit CommandButton(QWidget *parent);
    CommandButton *loadCopy() const;

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);

    std::function<void()> Click;

protected:
    bool event(QEvent *event) override;

private:
    quint32 m_backColor = SysButtonFace;
};

} // namespace kvx
