#pragma once

// The main window's views as pictures: exported to PNG, SVG or PDF and
// printed through the very painters that draw them on the screen. The view
// taken is the one the user looks at; the command line opens it first.

#include "platform/paintexport.h"

#include <QString>

namespace kvx {

class frmSwitch;

struct ViewPicture
{
    QString name;  // "Room Plan", "Rack UC-01", "Shelf 3 of UC-01", "MIS Ring Lay Out"
    QString title; // the site and the view: "KINGSBRIDGE TRUNK EXCHANGE - Rack UC-01"
    QSize size;    // in the screen's pixels
    PaintPicture paint;
};

// The view shown: the ring layout, the grown shelf, the rack with its doors
// as they are, or else the whole room plan (not only what the viewport shows).
ViewPicture shownView(frmSwitch &form);

// Renders the view to a file whose extension chooses the format, PNG at
// `scale` device pixels a pixel. A failure leaves no file, or the old one
// whole; *error names the file and the reason.
bool exportView(const ViewPicture &view, const QString &path, double scale, QString *error);

// Exchange > Export View... and Exchange > Print...
void exportShownView(frmSwitch &form);
void printShownView(frmSwitch &form);

// A view to open as the user would, for the command line.
struct ViewRequest
{
    enum Kind { Room, Rack, Shelf, Ring } kind = Room;
    QString rack;  // the first rack of that name, for Rack and Shelf
    int shelf = 0; // 1..5, for Shelf
    int ring = 0;  // 0 MIS, 1..4 MAS1..MAS4, for Ring
};
// Opens the view; false, with *error naming what is missing, when it cannot.
bool openView(frmSwitch &form, const ViewRequest &request, QString *error);

} // namespace kvx
