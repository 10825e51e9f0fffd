#pragma once

#include "platform/windowedcontrol.h"

#include <QWidget>

#include <vector>

class QTabBar;

namespace kvx {

// A tab control whose tabs are containers. As in the classic tabbed dialog,
// positions on a tab are measured from the tab control's own top left
// corner, the row of tabs included.
class TabControl : public QWidget, public WindowedControl
{
    Q_OBJECT

public:
    explicit TabControl(QWidget *parent);

    Container *addTab(const QString &caption);
    int Tabs() const { return int(m_pages.size()); }
    Container *page(int tab) const;
    int Tab() const { return m_current; }
    void setTab(int tab);

    std::function<void(int PreviousTab)> Click;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showTab(int tab);
    void layoutPages();

    QTabBar *m_bar;
    std::vector<Container *> m_pages;
    int m_current = -1;
};

} // namespace kvx
