#pragma once

#include "model/modmain.h"
#include "platform/core/fields.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <array>
#include <vector>

namespace kvx {

// One card of a template: slot number, card name and image code.
struct TemplateCard
{
    int slot;
    const char *name;
    int type;
};

// What a new rack of a family starts with: the station of each shelf (an
// empty text for none) and the cards of each shelf in entry order.
struct RackTemplate
{
    const char *family;
    std::array<const char *, ShelvesPerRack> stations;
    std::array<std::vector<TemplateCard>, ShelvesPerRack> shelves;
};

// The eight templates: UE, UD, UC, XA, XA0, XB, CA, SDE.
const std::array<RackTemplate, 8> &rackTemplates();
const RackTemplate *templateForFamily(const QByteArray &family);

// The template a new rack of this name gets, or nullptr. All eight tests on
// the start of the name are made in a fixed order and the last match wins,
// so "XA0" is not taken for an "XA-" rack.
const RackTemplate *templateForRackName(const QByteArray &name);

// The card lists the templates are made of, by letter (A, B, C, D, E, F, G,
// J, K, M); empty for any other letter.
std::vector<TemplateCard> templateCardList(char letter);

// The content of the rack template file: the station line, then one line per
// shelf with "slot,name,type," per card and the field -1; CR LF line ends.
QByteArray templateFileText(const RackTemplate &t);

// Reads a rack template file into the entries of one place: five stations,
// then per shelf up to 35 cards until the slot -1. Entries after a shelf's
// -1 keep what they held. A place outside the station and card tables raises
// ErrSubscript before anything is written; a short or broken text raises the
// reader's error part-way.
void readRackTemplate(FieldReader &in, Exchange &x, int shoot, int place);

// Gives the place the stations and cards of the template, by the same text
// the editor writes to the template file and reads back.
void applyRackTemplate(const RackTemplate &t, Exchange &x, int shoot, int place);

// The Insert submenu of the room grid, in menu order. An entry inserts the
// racks of `names`: its own caption, or the items of its submenu; an entry
// without names is a rack type the editor shows but cannot insert.
struct RackMenuEntry
{
    const char *control;
    const char *caption;
    bool submenu;
    QStringList names;
};
const QList<RackMenuEntry> &rackMenu();

// The 49 names the editor can give a new rack, in menu order.
QStringList rackMenuCaptions();

} // namespace kvx
