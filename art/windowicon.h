#pragma once

// The window icon's renderings, made from icon.svg when the program is built
// (windowicon.cpp in the build folder, written by kvx-render-art).
namespace kvx::Art {

struct WindowIconImage
{
    int size;                   // width and height in pixels
    const unsigned int *pixels; // premultiplied ARGB, row by row
};

extern const WindowIconImage WindowIconImages[];
extern const int WindowIconImageCount;

} // namespace kvx::Art
