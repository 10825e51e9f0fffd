#pragma once

#include "platform/windowedcontrol.h"

#include <QCheckBox>

namespace kvx {

// A check box. Value is 0 (clear) or 1 (ticked); Click follows every change
// of Value, by the user or by code.
class CheckBox : public QCheckBox, public WindowedControl
{
    Q_OBJECT

public:
    explicit CheckBox(QWidget *parent);
    CheckBox *loadCopy() const;

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    int Value() const { return isChecked() ? 1 : 0; }
    void setValue(int value);

    std::function<void()> Click;

protected:
    bool event(QEvent *event) override;
};

} // namespace kvx
