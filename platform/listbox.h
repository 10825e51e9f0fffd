#pragma once

#include "platform/windowedcontrol.h"

#include <QListWidget>

namespace kvx {

// A list box. ListIndex is -1 when nothing is selected; Click follows every
// change of ListIndex, by the user or by code.
class ListBox : public QListWidget, public WindowedControl
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent);

    void AddItem(const QString &item, int index = -1);
    void Clear();
    int ListCount() const { return count(); }
    int ListIndex() const { return currentRow(); }
    // Outside -1 .. ListCount - 1 raises ErrInvalidProperty.
    void setListIndex(int index);
    QString Text() const;
    // The item at index, or an empty text when there is none.
    QString List(int index) const;

    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool m_quiet = false;
};

} // namespace kvx
