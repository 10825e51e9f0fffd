#pragma once

#include "platform/form.h"

#include <QPointer>

namespace kvx {

class CommandButton;
class Frame;
class Label;
class PictureBox;

// What the two About windows share: a fixed size, a separator line, the
// maker's unit, and an OK button that hides the window and hands the focus
// back to the main window. Each is created on first showing, then only
// hidden and shown again.
class AboutDialog : public Form
{
    Q_OBJECT

public:
    // Hides the window; it stays loaded with its content.
    void Command1_Click();

    // The window to hand the focus back to; the dialog is not its child, so
    // that it lives as long as the program, whatever the owner does.
    void setOwner(QWidget *owner) { m_owner = owner; }

    Frame *Frame1 = nullptr;
    Label *Label5 = nullptr;
    CommandButton *Command1 = nullptr;

    // Where the dialog opens: centred over its owner, within the screen.
    void placeOverOwner();

protected:
    explicit AboutDialog(const QString &caption);
    Label *addLabel(const QString &caption, double left, double top, double width = 0, double height = 0);

private:
    QPointer<QWidget> m_owner;
};

// Shows a dialog modeless, bringing it forward when it is open already.
void showAboutDialog(AboutDialog &dialog);

} // namespace kvx
