#include "platform/tabcontrol.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"
#include "platform/units.h"

#include <QPainter>
#include <QTabBar>
#include <qdrawutil.h>

namespace kvx {

namespace {

// A tab: the whole area of the tab control, with the panel drawn below the tabs.
class TabPage : public Container
{
public:
    TabPage(QWidget *parent, const QTabBar *bar) : Container(parent), m_bar(bar) {}

protected:
    // A raised panel in the page's own colour, so that controls with the
    // same back colour blend into it.
    void paintFrame(QPainter &painter) override
    {
        qDrawWinPanel(&painter, rect().adjusted(0, m_bar->height() - 1, 0, 0), palette(), false);
    }

private:
    const QTabBar *m_bar;
};

} // namespace

TabControl::TabControl(QWidget *parent) : QWidget(parent), WindowedControl(this), m_bar(new QTabBar(this))
{
    m_bar->setExpanding(true);
    m_bar->setDrawBase(false);
    connect(m_bar, &QTabBar::currentChanged, this, &TabControl::showTab);
}

Container *TabControl::addTab(const QString &caption)
{
    auto *page = new TabPage(this, m_bar);
    page->setFont(font());
    page->hide();
    m_pages.push_back(page);
    // The first tab becomes the current one, which shows its page.
    m_bar->addTab(caption);
    layoutPages();
    return page;
}

Container *TabControl::page(int tab) const
{
    if (tab < 0 || tab >= Tabs())
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    return m_pages[size_t(tab)];
}

void TabControl::setTab(int tab)
{
    page(tab);
    m_bar->setCurrentIndex(tab);
}

void TabControl::showTab(int tab)
{
    if (tab == m_current || tab < 0 || tab >= Tabs())
        return;
    const int previous = m_current;
    if (previous >= 0)
        m_pages[size_t(previous)]->hide();
    m_current = tab;
    m_pages[size_t(tab)]->show();
    m_bar->raise();
    if (previous >= 0)
        fire(Click, previous);
}

void TabControl::layoutPages()
{
    m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    for (Container *page : m_pages)
        page->setGeometry(rect());
    m_bar->raise();
}

void TabControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPages();
}

bool TabControl::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QWidget::event(event);
}

} // namespace kvx
