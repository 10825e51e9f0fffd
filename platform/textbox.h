#pragma once

#include "platform/units.h"
#include "platform/windowedcontrol.h"

#include <QLineEdit>

namespace kvx {

// A single-line text box. Change follows every change of Text, by the user
// or by code. Characters the window refuses (setRefusedCharacters) are kept
// out of typing and pasting; text set by code is taken as it is.
class TextBox : public QLineEdit, public WindowedControl
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent);
    TextBox *loadCopy() const;

    QString Text() const { return text(); }
    void setText(const QString &text);
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);

    QString refusedCharacters() const { return m_refused; }
    void setRefusedCharacters(const QString &characters);

    std::function<void()> Change;
    std::function<void()> DblClick;

protected:
    bool event(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    friend class RefusedCharacterFilter;
    void applyColors();

    QString m_refused;
    QString m_reported;
    quint32 m_backColor = SysWindowBackground;
    quint32 m_foreColor = SysWindowText;
    bool m_settingByCode = false;
};

} // namespace kvx
