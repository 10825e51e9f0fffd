#pragma once

#include "platform/windowedcontrol.h"

#include <QComboBox>

namespace kvx {

// A drop-down list without free typing. ListIndex is -1 until an item is
// chosen; Click follows every change of ListIndex, by the user or by code.
class ComboBox : public QComboBox, public WindowedControl
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget *parent);

    void AddItem(const QString &item, int index = -1);
    void Clear();
    int ListCount() const { return count(); }
    int ListIndex() const { return currentIndex(); }
    // Outside -1 .. ListCount - 1 raises ErrInvalidProperty.
    void setListIndex(int index);
    QString Text() const { return currentText(); }
    QString List(int index) const { return itemText(index); }

    std::function<void()> Click;

protected:
    bool event(QEvent *event) override;

private:
    bool m_quiet = false;
};

} // namespace kvx
