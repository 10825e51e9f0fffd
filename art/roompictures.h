#pragma once

// The room plan's pictures rendered when the program is built, at the sizes a
// 1024 x 768 screen first shows them (roompictures.cpp in the build folder,
// written by kvx-render-art): the first paint of a room of racks then draws
// them without rendering them. Other sizes are rendered when needed.
namespace kvx::Art {

struct RoomPicture
{
    const char *name; // the picture's file name without .svg
    int width;        // device pixels
    int height;
    bool opaque;                // drawn without an alpha channel
    const unsigned int *pixels; // premultiplied ARGB, row by row
};

extern const RoomPicture RoomPictures[];
extern const int RoomPictureCount;

} // namespace kvx::Art
