#include "platform/form.h"

#include "platform/core/services.h"

#include <QCloseEvent>

namespace kvx {

Form::Form(QWidget *parent) : QMainWindow(parent), m_client(new Container(this))
{
    setCentralWidget(m_client);
}

int Form::Width() const
{
    return m_width >= 0 ? int(m_width) : frameGeometry().width() * TwipsPerPixel;
}

int Form::Height() const
{
    return m_height >= 0 ? int(m_height) : frameGeometry().height() * TwipsPerPixel;
}

void Form::setWidth(int twips)
{
    m_width = std::max(0, twips);
    applySize();
}

void Form::setHeight(int twips)
{
    m_height = std::max(0, twips);
    applySize();
}

void Form::applySize()
{
    const QRect inner = geometry(), outer = frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const int w = m_width >= 0 ? pixelsFromTwips(m_width) - frame.left() - frame.right() : width();
    const int h = m_height >= 0 ? pixelsFromTwips(m_height) - frame.top() - frame.bottom() : height();
    m_applying = true;
    resize(std::max(0, w), std::max(0, h));
    m_applying = false;
}

void Form::Move(int left, int top, int width, int height)
{
    move(pixelsFromTwips(left), pixelsFromTwips(top));
    setWidth(width);
    setHeight(height);
}

double Form::ScaleWidth() const
{
    return m_client->ScaleWidth();
}

double Form::ScaleHeight() const
{
    return m_client->ScaleHeight();
}

void Form::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void Form::Show()
{
    show();
    raise();
    activateWindow();
}

bool Form::Unload()
{
    return close();
}

void Form::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void Form::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applySize(); // now that the frame is known
}

void Form::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A size the user gave the window replaces the one assigned.
    if (!m_applying && isVisible()) {
        if (pixelsFromTwips(m_width) != frameGeometry().width())
            m_width = frameGeometry().width() * TwipsPerPixel;
        if (pixelsFromTwips(m_height) != frameGeometry().height())
            m_height = frameGeometry().height() * TwipsPerPixel;
    }
    Form_Resize();
}

} // namespace kvx
