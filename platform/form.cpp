#include "platform/form.h"

#include "platform/services.h"

#include <QCloseEvent>

#include <cmath>

namespace kvx {

int pixelsFromTwips(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

Form::Form(QWidget *parent) : QMainWindow(parent)
{
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

void Form::Show()
{
    show();
    raise();
    activateWindow();
}

void Form::closeEvent(QCloseEvent *event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

} // namespace kvx
