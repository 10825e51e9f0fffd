#pragma once

#include "platform/core/errors.h"
#include "platform/fonts.h"

namespace kvx {

// The position and size properties of every control, in twips, written once
// for the lightweight controls and the windowed ones. A control C gives
// Left, Top, Width and Height, and places itself in placeAt: with two
// arguments it moves without touching its size (a label's size may still be
// owed to its caption), with four it takes the whole rectangle.
template<typename C>
class TwipsGeometry
{
public:
    void setLeft(double twips) { self().placeAt(twips, self().Top()); }
    void setTop(double twips) { self().placeAt(self().Left(), twips); }
    void setWidth(double twips)
    {
        checkSize(twips);
        self().placeAt(self().Left(), self().Top(), twips, self().Height());
    }
    void setHeight(double twips)
    {
        checkSize(twips);
        self().placeAt(self().Left(), self().Top(), self().Width(), twips);
    }
    void Move(double left, double top) { self().placeAt(left, top); }
    void Move(double left, double top, double width, double height)
    {
        checkSize(width);
        checkSize(height);
        self().placeAt(left, top, width, height);
    }

private:
    C &self() { return static_cast<C &>(*this); }
    static void checkSize(double twips)
    {
        if (twips < 0)
            raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    }
};

// FontName, FontSize and FontBold over a control's fontDesc and setFontDesc.
template<typename C>
class FontProperties
{
public:
    QString FontName() const { return self().fontDesc().name; }
    double FontSize() const { return self().fontDesc().size; }
    bool FontBold() const { return self().fontDesc().bold; }
    void setFontName(const QString &name)
    {
        change([&](FontDesc &d) { d.name = name; });
    }
    void setFontSize(double points)
    {
        change([&](FontDesc &d) { d.size = points; });
    }
    void setFontBold(bool bold)
    {
        change([&](FontDesc &d) { d.bold = bold; });
    }

private:
    const C &self() const { return static_cast<const C &>(*this); }
    template<typename F>
    void change(F &&edit)
    {
        FontDesc desc = self().fontDesc();
        edit(desc);
        static_cast<C &>(*this).setFontDesc(desc);
    }
};

} // namespace kvx
