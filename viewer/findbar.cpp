#include "viewer/findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kvx {

namespace {

QToolButton *stepButton(QWidget *parent, const QString &text, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    // The keys do what the buttons do; Tab stays in the text.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

FindBar::FindBar(QWidget *parent) : QFrame(parent), m_edit(new QLineEdit(this)), m_count(new QLabel(this))
{
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Find"));
    auto *label = new QLabel(QStringLiteral("Find:"), this);
    label->setBuddy(m_edit);
    m_edit->setAccessibleName(QStringLiteral("Find rack, station or card"));
    m_edit->setPlaceholderText(QStringLiteral("rack, station or card name"));
    m_edit->setClearButtonEnabled(true);
    m_edit->installEventFilter(this);
    m_count->setMinimumWidth(
        m_count->fontMetrics().horizontalAdvance(QStringLiteral("000 racks, 0000 shelves, 00000 cards")));
    QToolButton *previous = stepButton(this, QStringLiteral("\u25B2"), QStringLiteral("Previous match (Shift+Enter)"));
    QToolButton *next = stepButton(this, QStringLiteral("\u25BC"), QStringLiteral("Next match (Enter)"));
    QToolButton *close = stepButton(this, QStringLiteral("\u2715"), QStringLiteral("Close (Esc)"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    row->addWidget(m_count);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(close);

    connect(m_edit, &QLineEdit::textChanged, this, &FindBar::textChanged);
    connect(previous, &QToolButton::clicked, this, &FindBar::previous);
    connect(next, &QToolButton::clicked, this, &FindBar::next);
    connect(close, &QToolButton::clicked, this, &FindBar::closed);
}

QString FindBar::countText() const
{
    return m_count->text();
}

void FindBar::setCountText(const QString &text)
{
    m_count->setText(text);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (key->modifiers() & Qt::ShiftModifier)
            emit previous();
        else
            emit next();
        return true;
    case Qt::Key_Escape:
        emit closed();
        return true;
    default:
        return false;
    }
}

} // namespace kvx
