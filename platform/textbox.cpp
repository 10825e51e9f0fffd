#include "platform/textbox.h"

#include "platform/core/events.h"

#include <QKeyEvent>
#include <QValidator>

namespace kvx {

// Strips refused characters from what the user types, pastes or drops.
class RefusedCharacterFilter : public QValidator
{
public:
    explicit RefusedCharacterFilter(TextBox *box) : QValidator(box), m_box(box) {}

    State validate(QString &input, int &position) const override
    {
        if (m_box->m_settingByCode || m_box->m_refused.isEmpty())
            return Acceptable;
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            if (m_box->m_refused.contains(input.at(i))) {
                input.remove(i, 1);
                if (i < position)
                    --position;
            }
        }
        return Acceptable;
    }

private:
    TextBox *m_box;
};

TextBox::TextBox(QWidget *parent) : QLineEdit(parent), WindowedControl(this)
{
    setValidator(new RefusedCharacterFilter(this));
    // A refused character that was stripped again leaves the text as it was.
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == m_reported)
            return;
        m_reported = text;
        fire(Change);
    });
}

TextBox *TextBox::loadCopy() const
{
    auto *copy = new TextBox(parentWidget());
    copy->copyCommonFrom(*this);
    copy->setText(text());
    copy->setReadOnly(isReadOnly());
    copy->m_refused = m_refused;
    copy->m_backColor = m_backColor;
    copy->m_foreColor = m_foreColor;
    copy->applyColors();
    return copy;
}

void TextBox::setText(const QString &text)
{
    m_settingByCode = true;
    QLineEdit::setText(text);
    m_settingByCode = false;
}

void TextBox::setBackColor(quint32 color)
{
    m_backColor = color;
    applyColors();
}

void TextBox::setForeColor(quint32 color)
{
    m_foreColor = color;
    applyColors();
}

void TextBox::applyColors()
{
    QPalette colors = palette();
    colors.setColor(QPalette::Base, resolveColor(m_backColor));
    colors.setColor(QPalette::Text, resolveColor(m_foreColor));
    setPalette(colors);
}

void TextBox::setRefusedCharacters(const QString &characters)
{
    m_refused = characters;
}

bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !m_refused.isEmpty()) {
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        if (typed.size() == 1 && m_refused.contains(typed.at(0)))
            return true;
    }
    if (handleCommonEvent(event))
        return true;
    return QLineEdit::event(event);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    fire(DblClick);
}

} // namespace kvx
