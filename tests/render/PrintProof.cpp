// Pictures of the print look to look at, not a check: with
// HEXLANE_PRINT_PROOF set to a folder, a generated sector is drawn through
// the vector painter at the sizes of a sector on A4, a subsector page and a
// large subsector page, in colour and in greys, each with its legend.

#include "MapPages.h"
#include "MapPainter.h"
#include "PrintStyle.h"
#include "RenderFixtures.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

using namespace hexlane::render;

namespace {

std::unique_ptr<TUniverse> GeneratedSector() {
    std::mt19937 random(29);
    auto roll = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto dice = [&]() { return roll(6) + roll(6) + 2; };
    auto u = TUniverse::CreateNew();
    renderfix::AddAllegiance(*u, "Concord", 0xC06020, bsSolid)->ImportCode = "Cd";
    renderfix::AddAllegiance(*u, "Free Worlds", 0x2080E0, bsSolid)->ImportCode = "Fw";
    TSector* s = renderfix::AddSector(*u, "Tessaly Reach", 1, 1);
    const char* subsectors[16] = {"Ashen", "Brill", "Corvane", "Dusk", "Eldmark", "Farrow", "Glint", "Hollin",
                                  "Iskar", "Juniper", "Kell", "Lorne", "Marrow", "Nessa", "Orrin", "Pallas"};
    for (int i = 0; i < 16; ++i) s->SSName[static_cast<std::size_t>(i)] = subsectors[i];
    const char* first[] = {"Ar", "Bel", "Cor", "Dra", "Ess", "Fal", "Gri", "Hol", "Ith", "Jov", "Kes", "Lum",
                           "Mor", "Nev", "Ost", "Pra", "Quin", "Ros", "Sel", "Tav", "Ul", "Ver", "Wyn", "Zar"};
    const char* second[] = {"an", "is", "ova", "eth", "ir", "os", "umbra", "ell", "ax", "ion", "ara", "ent"};
    const char* hex = "0123456789ABC";
    std::vector<std::string> names;
    for (int column = 1; column <= 32; ++column)
        for (int row = 1; row <= 40; ++row) {
            if (roll(2)) continue;
            std::string name = std::string(first[roll(24)]) + second[roll(12)];
            if (roll(5) == 0) name += std::string(" ") + first[roll(24)] + second[roll(12)];
            const int size = dice() - 2, atmo = std::clamp(dice() - 7 + size, 0, 12);
            const int hydro = size < 2 ? 0 : std::clamp(dice() - 7 + atmo, 0, 10), pop = dice() - 2;
            const std::string upc = {hex[size], hex[atmo], hex[hydro], hex[pop], hex[std::clamp(dice() - 7 + pop, 0, 12)],
                                     hex[std::clamp(dice() - 7 + pop, 0, 9)]};
            TStar* star = renderfix::AddStar(*s, name, column, row, upc);
            const int port = dice();
            star->Starport = std::string(1, port >= 11 ? 'A' : port >= 9 ? 'B' : port >= 7 ? 'C' : port >= 5 ? 'D' : port >= 3 ? 'E' : 'X');
            star->SetTechLevel(std::string(1, hex[std::clamp(dice() / 2 + (port >= 9 ? 4 : 0), 1, 12)]));
            std::int32_t content = 0;
            if (dice() <= 9) content |= scGasGiant;
            if (dice() >= 10) content |= scPlanetoids;
            if (port >= 9 && dice() >= 8) content |= scNavalBase;
            if (port >= 7 && dice() >= 9) content |= scScoutBase;
            if (dice() >= 12) content |= scResearchStation;
            if (dice() >= 12) content |= scMilitaryBase;
            star->SystemContent = content;
            const int zone = roll(30);
            star->TravelZoneCode = zone < 3 ? tzcAmber : zone < 4 ? tzcRed : tzcGreen;
            star->Allegiance = column <= 14 ? "Concord" : column >= 20 ? "Free Worlds" : "";
            names.push_back(name);
        }
    // A capital in each subsector: its first system.
    std::set<std::string> capitals;
    for (const auto& c : s->Children())
        if (auto* star = dynamic_cast<TStar*>(c.get()); star && capitals.insert(std::string(star->SubSectorName)).second)
            star->SubsectorCapital = true;
    TRoute* trade = u->Routes()->Create<TRoute>();
    trade->Name1 = "Main trade route";
    trade->ShowRoute = true;
    trade->Color = 0x208020;
    trade->LineThickness = 2;
    for (std::size_t i = 0; i + 7 < names.size() && i < 200; i += 7) renderfix::AddLeg(*trade, names[i], names[i + 7]);
    u->ComputeExtent();
    renderfix::ShowEverything(*u);
    u->ShowBorders = true;
    u->VoyageLine = {{10, 12}, {11, 14}, {13, 15}, {14, 17}};
    return u;
}

// The part `hexes` at `mm` a hex, at `dpi`, with the legend in its top right
// corner; only the piece `crop` of it when given.
void Draw(const TUniverse& u, const QRectF& hexes, double mm, PictureStyle style, double dpi, const QString& file,
          const QRectF& crop = {}) {
    PrintLook look;
    look.Style = style;
    const bool exact = hexes != WholeMapHexes(u);
    const MapLayout layout = LayoutPrint(u, look, mm, exact ? hexes : QRectF());
    const MapLayout legend = LayoutLegend(u, look, mm);
    const double scale = mm / 25.4 * dpi / kPrintHexSize;  // image pixels per layout pixel
    const QRect area = PixelsOf(crop.isEmpty() ? hexes : crop, kPrintHexSize, layout.Size);
    QImage image(QSize(int(area.width() * scale), int(area.height() * scale)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(scale, scale);
    MapPainter(layout).Paint(p, QRectF(area));
    p.translate(area.width() - legend.Size.width() - 10, 10);
    MapPainter(legend).Paint(p, QRectF(QPointF(0, 0), QSizeF(legend.Size)));
    p.end();
    ASSERT_TRUE(image.save(file));
}

}  // namespace

TEST(PrintLookProof, DrawsTheGeneratedSector) {
    const QString dir = qEnvironmentVariable("HEXLANE_PRINT_PROOF");
    if (dir.isEmpty()) GTEST_SKIP() << "set HEXLANE_PRINT_PROOF to a folder to draw the pictures";
    auto u = GeneratedSector();
    const QRectF sector = *SectorHexes(*u, "Tessaly Reach"), subsector = *SubsectorHexes(*u, "", "Farrow");
    for (PictureStyle style : {PictureStyle::Print, PictureStyle::Atlas}) {
        const QString name = style == PictureStyle::Print ? "colour" : "atlas";
        Draw(*u, sector, 5.9, style, 150, dir + "/sector-a4-5.9mm-" + name + ".png");
        Draw(*u, sector, 5.9, style, 400, dir + "/sector-a4-5.9mm-" + name + "-detail-400dpi.png",
             QRectF(8, 8, 10, 8));
        Draw(*u, sector, 3.5, style, 150, dir + "/sector-3.5mm-dots-" + name + ".png");
        Draw(*u, subsector, 20, style, 120, dir + "/subsector-20mm-" + name + ".png");
        Draw(*u, subsector, 30, style, 100, dir + "/subsector-30mm-" + name + ".png");
    }
}
