#pragma once

#include "platform/windowedcontrol.h"

#include <QRadioButton>

namespace kvx {

// An option button; the option buttons of one container form one group.
// Click when the user chooses it, or when code sets Value to true.
class OptionButton : public QRadioButton, public WindowedControl
{
    Q_OBJECT

public:
    explicit OptionButton(QWidget *parent);
    OptionButton *loadCopy() const;

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    bool Value() const { return isChecked(); }
    void setValue(bool value);

    std::function<void()> Click;

protected:
    bool event(QEvent *event) override;

private:
    void raiseClick();
};

} // namespace kvx
