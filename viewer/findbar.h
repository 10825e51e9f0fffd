#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kvx {

// The find bar at the bottom of the main window: the text to find, how much
// of the exchange holds it, and the steps to the next and previous match.
// Enter goes to the next match, Shift+Enter to the previous, Esc closes it;
// what a match is and where it leads is the main window's.
class FindBar : public QFrame
{
    Q_OBJECT

public:
    explicit FindBar(QWidget *parent);

    QLineEdit *edit() const { return m_edit; }
    QString countText() const;
    void setCountText(const QString &text);

signals:
    void textChanged(const QString &text);
    void next();
    void previous();
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edit;
    QLabel *m_count;
};

} // namespace kvx
