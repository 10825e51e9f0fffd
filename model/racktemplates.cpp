#include "model/racktemplates.h"

#include "platform/core/errors.h"

namespace kvx {

namespace {

using Cards = std::vector<TemplateCard>;

Cards listA()
{
    return {{15, "AE5V40A", 1},   {138, "AE5V40A", 1}, {54, "ACAJB4", 0},   {58, "ACAJA4", 0},    {66, "ACAJB4", 0},
            {70, "ACAJA4", 0},    {78, "ACAJB4", 0},   {82, "ACAJA4", 0},   {24, "ACALA", 2},     {96, "ACMCS", 2},
            {102, "ACMCS", 2},    {108, "ACMCS", 2},   {90, "ACTUR5AB", 0}, {114, "ACTUR5AB", 0}, {120, "ACTUR5AB", 0},
            {126, "ACTUR5AB", 0}, {132, "ACTUR5AB", 0}};
}

Cards listB()
{
    Cards cards = {{9, "ACALA", 2},     {19, "ACAJA4", 0}, {15, "ACAJB4", 0}, {0, "AE5V40A", 1},
                   {145, "AE5V40A", 1}, {31, "ACMGS", 0},  {35, "ICTSM", 0},  {39, "ICTSM", 0}};
    for (int slot : {49, 53, 73, 77, 97, 101, 121, 125})
        cards.push_back({slot, "ICIDS", 4});
    for (int slot : {57, 61, 65, 69, 81, 85, 89, 93, 105, 109, 113, 117, 129, 133, 137, 141})
        cards.push_back({slot, "ICTRQ", 6});
    return cards;
}

Cards listC()
{
    return {{23, "ACALA", 2},    {33, "ACAJA4", 0}, {29, "ACAJB4", 0}, {14, "AE5V40A", 1},
            {142, "AE5V40A", 1}, {71, "ACHIL2", 0}, {65, "ACHIL2", 0}, {113, "ACTUR5AB", 0},
            {41, "ACTUR5AB", 0}, {47, "ACMCS", 0},  {119, "ICID", 3},  {125, "ICID", 3}};
}

Cards listD()
{
    Cards cards = {{0, "AE5V40A", 1}};
    // Two runs of RCID4 cards either side of the shelf's middle gap.
    for (int slot = 10; slot <= 70; slot += 4)
        cards.push_back({slot, "RCID4", 0});
    for (int slot = 82; slot <= 142; slot += 4)
        cards.push_back({slot, "RCID4", 0});
    cards.push_back({146, "AE5V40A", 1});
    return cards;
}

Cards listE()
{
    return {{32, "RSIMT", 13}, {60, "RSIMT", 13}, {88, "RSIMT", 13},   {116, "RSIMT", 13}, {20, "ACAJA4", 0},
            {16, "ACAJB4", 0}, {0, "AE5V40A", 1}, {146, "AE5V40A", 1}, {9, "ACALA", 0},    {28, "RCMP4", 0},
            {32, "RCMT4", 0},  {38, "RCMT4", 0},  {60, "RCMT4", 0},    {66, "RCMT4", 0},   {88, "RCMT4", 0},
            {94, "RCMT4", 0},  {116, "RCMT4", 0}, {122, "RCMT4", 0},   {44, "RCSM4", 0},   {72, "RCSM4", 0},
            {100, "RCSM4", 0}, {128, "RCSM4", 0}};
}

Cards listF()
{
    Cards cards;
    for (int slot : {32, 60, 88, 116, 48, 76, 104, 132})
        cards.push_back({slot, "RSIMT", 13});
    // E without its four RSIMT overlays, which F brings eight of.
    const Cards e = listE();
    cards.insert(cards.end(), e.begin() + 4, e.end());
    for (int slot : {48, 110, 54, 76, 82, 104, 132, 138})
        cards.push_back({slot, "RCMT4", 0});
    return cards;
}

Cards listG()
{
    return {{32, "RSIMT", 13}, {60, "RSIMT", 13},   {20, "ACAJA4", 0}, {16, "ACAJB4", 0},
            {0, "AE5V40A", 1}, {146, "AE5V40A", 1}, {9, "ACALA", 0},   {28, "RCMP4", 0},
            {32, "RCMT4", 0},  {38, "RCMT4", 0},    {60, "RCMT4", 0},  {66, "RCMT4", 0},
            {44, "RCSM4", 0},  {72, "RCSM4", 0},    {100, "RCSM4", 0}, {128, "RCSM4", 0}};
}

Cards listJ()
{
    return {{28, "ACALA", 2},   {130, "ACALA", 2},  {40, "RCHOR", 10},   {52, "RCHOR", 10},
            {64, "RCHOR", 10},  {84, "RCHIS", 9},   {110, "RCHIS", 9},   {1, "AE5V40A", 1},
            {10, "AE5V40A", 1}, {19, "AE5V40A", 1}, {134, "AE5V40A", 1}, {144, "AE5V40A", 1}};
}

Cards listK()
{
    return {{0, "AE5V40A", 1}, {9, "ACALA", 2},    {13, "ACAJB4", 0}, {17, "ACAJA4", 0},  {25, "ACUTG2", 0},
            {29, "ACMGS", 0},  {33, "ACUTG2", 0},  {37, "ACMGS", 0},  {57, "ACBSG", 0},   {69, "ACCSG", 7},
            {81, "ACFTD", 0},  {88, "ACDDG4", 11}, {128, "AE12V", 0}, {146, "AE5V40A", 1}};
}

Cards listM()
{
    return {{59, "ACALA", 2},    {71, "ACSTG1", 12},  {103, "ACTUJ", 0}, {109, "ACTUJ", 0}, {127, "ACRAL2", 0},
            {138, "AE5V40A", 1}, {147, "AE5V40A", 1}, {95, "ACV11", 8},  {99, "ACV11", 8},  {1, "ACALA", 2},
            {7, "ACALA", 2},     {11, "ACALA", 2},    {17, "ACALA", 2},  {21, "ACALA", 2},  {31, "ACALA", 2},
            {49, "ACALA", 2},    {27, "ACREBA", 0},   {37, "ACTLC", 0},  {43, "ACTLC", 0},  {63, "ICMPN2", 4},
            {67, "ICSMP", 5}};
}

// List A whose last card shows another picture: UC and CA racks differ there.
Cards listAEndingIn(int type)
{
    Cards cards = listA();
    cards.back().type = type;
    return cards;
}

std::array<RackTemplate, 8> buildTemplates()
{
    const Cards a = listA(), b = listB(), c = listC(), d = listD();
    return {{
        {"UE", {"SMC", "SMT", "SMT", "SMA", "SMA"}, {a, b, b, c, c}},
        {"UD", {"SMC", "SMT", "SMT", "SMT", "SMT"}, {a, b, b, b, b}},
        {"UC", {"SMC", "SMA", "SMA", "SMA", "SMA"}, {listAEndingIn(8), c, c, c, c}},
        {"XA", {"SMXC", "SMX", "SMX", "", ""}, {d, listE(), listE(), {}, {}}},
        {"XA0", {"SMXC", "SMX", "SMX", "", ""}, {d, listG(), listG(), {}, {}}},
        {"XB", {"SMXC", "SMX", "SMX", "SMX", "SMX"}, {d, listF(), listF(), listF(), listF()}},
        {"CA", {"SMC1", "STS1", "SMMA", "SSE1", "SMMB"}, {listAEndingIn(6), listJ(), listK(), listM(), listK()}},
        {"SDE", {"", "", "", "", ""}, {}},
    }};
}

bool fitsTable(const LooseTable &t, int shoot, int place)
{
    return t.isSized() && t.rank() >= 2 && shoot >= 0 && place >= 0 && shoot <= t.bound(0) && place <= t.bound(1);
}

QStringList numbered(const char *prefix, int count)
{
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names << QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(n, 2, 10, QLatin1Char('0'));
    return names;
}

} // namespace

const std::array<RackTemplate, 8> &rackTemplates()
{
    static const std::array<RackTemplate, 8> templates = buildTemplates();
    return templates;
}

const RackTemplate *templateForFamily(const QByteArray &family)
{
    for (const RackTemplate &t : rackTemplates()) {
        if (family == t.family)
            return &t;
    }
    return nullptr;
}

const RackTemplate *templateForRackName(const QByteArray &name)
{
    struct Test
    {
        const char *prefix;
        const char *family;
    };
    static const Test tests[] = {{"UE", "UE"},   {"UD", "UD"}, {"UC", "UC"}, {"XA-", "XA"},
                                 {"XA0", "XA0"}, {"XB", "XB"}, {"C", "CA"},  {"SDE", "SDE"}};
    const RackTemplate *found = nullptr;
    for (const Test &test : tests) {
        if (name.startsWith(test.prefix))
            found = templateForFamily(test.family);
    }
    return found;
}

std::vector<TemplateCard> templateCardList(char letter)
{
    switch (letter) {
    case 'A':
        return listA();
    case 'B':
        return listB();
    case 'C':
        return listC();
    case 'D':
        return listD();
    case 'E':
        return listE();
    case 'F':
        return listF();
    case 'G':
        return listG();
    case 'J':
        return listJ();
    case 'K':
        return listK();
    case 'M':
        return listM();
    default:
        return {};
    }
}

QByteArray templateFileText(const RackTemplate &t)
{
    QByteArray text;
    for (int k = 0; k < ShelvesPerRack; ++k) {
        if (k > 0)
            text += ',';
        text += t.stations[size_t(k)];
    }
    text += "\r\n";
    for (const auto &cards : t.shelves) {
        for (const TemplateCard &card : cards)
            text += QByteArray::number(card.slot) + ',' + card.name + ',' + QByteArray::number(card.type) + ',';
        text += "-1\r\n";
    }
    return text;
}

void readRackTemplate(FieldReader &in, Exchange &x, int shoot, int place)
{
    for (const LooseTable *t : {&x.StationName, &x.SlotNo, &x.CardName, &x.CardType}) {
        if (!fitsTable(*t, shoot, place))
            raiseError(ErrSubscript,
                       QStringLiteral("Subscript out of range: shoot %1, place %2").arg(shoot).arg(place));
    }
    for (int k = 1; k <= ShelvesPerRack; ++k)
        x.StationName.set(in.readLoose(), shoot, place, k);
    for (int shelf = 1; shelf <= ShelvesPerRack; ++shelf) {
        for (int n = 1; n <= CardsPerShelf; ++n) {
            const Loose slot = in.readLoose();
            x.SlotNo.set(slot, shoot, place, shelf, n);
            if (slot == -1)
                break;
            x.CardName.set(in.readLoose(), shoot, place, shelf, n);
            x.CardType.set(in.readLoose(), shoot, place, shelf, n);
        }
    }
}

void applyRackTemplate(const RackTemplate &t, Exchange &x, int shoot, int place)
{
    FieldReader in(templateFileText(t));
    readRackTemplate(in, x, shoot, place);
}

const QList<RackMenuEntry> &rackMenu()
{
    static const QList<RackMenuEntry> menu = {
        {"mnuCA", "CA", false, {QStringLiteral("CA")}},
        {"mnuSDE", "SDE", true, numbered("SDE", 5)},
        {"mnuUC", "UC", true, numbered("UC", 10)},
        {"mnuUD", "UD", true, numbered("UD", 10)},
        {"mnuUE", "UE", true, numbered("UE", 10)},
        {"mnuXA0", "XA0", false, {QStringLiteral("XA0")}},
        {"mnuXA", "XA", true, {"XA-1A", "XA-1B", "XA-2A", "XA-2B"}},
        {"mnuXB", "XB", true, {"XB-1A", "XB-1B", "XB-2A", "XB-2B", "XB-3A", "XB-3B", "XB-4A", "XB-4B"}},
        {"mnuMTU", "MTU", false, {}},
        {"mnuSAM", "SAM", false, {}},
        {"mnuZD", "ZD", false, {}},
        {"mnuZH", "ZH", false, {}},
        {"mnuTH", "TH", false, {}},
    };
    return menu;
}

QStringList rackMenuCaptions()
{
    QStringList names;
    for (const RackMenuEntry &entry : rackMenu())
        names += entry.names;
    return names;
}

} // namespace kvx
