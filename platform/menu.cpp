#include "platform/menu.h"

#include "platform/core/events.h"
#include "platform/fonts.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>

namespace kvx {

namespace {
PopupMenuHook &popupHook()
{
    static PopupMenuHook hook;
    return hook;
}

// Menus speak in the classic system font, as the windows were designed with;
// the drop-down lists are windows of their own and do not take the bar's.
void useMenuFont(QWidget *widget)
{
    widget->setFont(classicFont(FontDesc{}));
}
} // namespace

void setPopupMenuHook(PopupMenuHook hook)
{
    popupHook() = std::move(hook);
}

Menu::Menu(QMenuBar *bar, const QString &caption) : QObject(bar), m_caption(caption)
{
    useMenuFont(bar);
    m_menu = new QMenu(caption, bar);
    useMenuFont(m_menu);
    m_action = bar->addMenu(m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &Menu::raiseClick);
}

Menu::Menu(Menu *parent, const QString &caption, const QKeySequence &shortcut) : QObject(parent), m_caption(caption)
{
    // A separator keeps "-" as its caption but shows no text: some styles
    // draw a separator's text as a heading.
    const bool separator = caption == QLatin1String("-");
    m_action = new QAction(separator ? QString() : caption, this);
    m_action->setSeparator(separator);
    if (!shortcut.isEmpty()) {
        m_action->setShortcut(shortcut);
        m_action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(m_action, &QAction::triggered, this, &Menu::raiseClick);
    parent->addItem(this);
}

Menu::~Menu()
{
    if (m_ownsMenu)
        delete m_menu;
}

void Menu::addItem(Menu *item)
{
    submenu()->addAction(item->m_action);
    m_items.append(item);
}

QMenu *Menu::submenu()
{
    if (!m_menu) {
        m_menu = new QMenu(m_caption);
        useMenuFont(m_menu);
        m_ownsMenu = true;
        // A command that becomes a submenu keeps its action as the entry.
        m_action->setMenu(m_menu);
        connect(m_menu, &QMenu::aboutToShow, this, &Menu::raiseClick);
    }
    return m_menu;
}

void Menu::setCaption(const QString &caption)
{
    m_caption = caption;
    if (!m_action->isSeparator())
        m_action->setText(caption);
    if (m_menu)
        m_menu->setTitle(caption);
}

bool Menu::Enabled() const
{
    return m_action->isEnabled();
}

void Menu::setEnabled(bool enabled)
{
    m_action->setEnabled(enabled);
}

bool Menu::Checked() const
{
    return m_action->isChecked();
}

void Menu::setChecked(bool checked)
{
    m_action->setCheckable(checked || m_action->isCheckable());
    m_action->setChecked(checked);
}

void Menu::setVisible(bool visible)
{
    m_visible = visible;
    m_action->setVisible(visible);
}

QKeySequence Menu::shortcut() const
{
    return m_action->shortcut();
}

void Menu::popup()
{
    popup(QCursor::pos());
}

void Menu::popup(const QPoint &globalPos)
{
    if (popupHook()) {
        popupHook()(this);
        return;
    }
    if (m_menu)
        m_menu->exec(globalPos);
}

void Menu::raiseClick()
{
    runHandler([this] { emit Click(); });
}

void Menu::trigger()
{
    if (m_action->isEnabled())
        m_action->trigger();
}

} // namespace kvx
