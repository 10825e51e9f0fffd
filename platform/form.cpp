#include "platform/form.h"

#include "platform/services.h"

#include <QCloseEvent>

namespace kvx {

Form::Form(QWidget *parent) : QMainWindow(parent), m_client(new Container(this))
{
    setCentralWidget(m_client);
}

int Form::Width() const
{
    return frameGeometry().width() * TwipsPerPixel;
}

int Form::Height() const
{
    return frameGeometry().height() * TwipsPerPixel;
}

void Form::setWidth(int twips)
{
    const int frame = frameGeometry().width() - width();
    resize(std::max(0, pixelsFromTwips(twips) - frame), height());
}

void Form::setHeight(int twips)
{
    const int frame = frameGeometry().height() - height();
    resize(width(), std::max(0, pixelsFromTwips(twips) - frame));
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

void Form::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

} // namespace kvx
