#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace kvx {

// A menu item of a form: a command, a separator ("-") or, once it has items
// of its own, a submenu. Caption, Checked, Enabled and Visible as a menu
// editor would set them; Click when the user chooses it.
class Menu : public QObject
{
    Q_OBJECT

public:
    Menu(QMenuBar *bar, const QString &caption);
    Menu(Menu *parent, const QString &caption, const QKeySequence &shortcut = {});
    ~Menu() override;

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool Enabled() const;
    void setEnabled(bool enabled);
    bool Checked() const;
    void setChecked(bool checked);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    QKeySequence shortcut() const;

    QAction *action() const { return m_action; }
    // The item's own menu, made when the first item is added to it.
    QMenu *submenu();
    const QList<Menu *> &items() const { return m_items; }

    // Shows the item's own menu as a pop-up at the mouse, or at a point of
    // the screen (where the keyboard is).
    void popup();
    void popup(const QPoint &globalPos);

    // Raises Click as a choice of the user would.
    void trigger();

signals:
    void Click();

private:
    void raiseClick();
    void addItem(Menu *item);

    QString m_caption;
    bool m_visible = true;
    QAction *m_action = nullptr;
    QMenu *m_menu = nullptr;
    bool m_ownsMenu = false;
    QList<Menu *> m_items;
};

// Pop-up menus go through a hook so that a test can choose an item.
using PopupMenuHook = std::function<void(Menu *menu)>;
void setPopupMenuHook(PopupMenuHook hook);

} // namespace kvx
