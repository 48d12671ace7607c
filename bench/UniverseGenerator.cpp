#include "UniverseGenerator.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace benchgen {

namespace {

const char* const kSyllables[] = {"ka", "ren", "thu", "mi", "sol", "dar", "vey", "lo", "qua", "nis",
                                  "ter", "ash", "ul", "bri", "zan", "o", "pel", "gor", "ie", "sha"};

std::string Syllables(std::mt19937& rng) {
    std::string s;
    const int n = 2 + static_cast<int>(rng() % 2);
    for (int i = 0; i < n; ++i) s += kSyllables[rng() % 20];
    s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

char Pick(std::mt19937& rng, const char* choices) {
    const std::size_t n = std::char_traits<char>::length(choices);
    return choices[rng() % n];
}

}  // namespace

std::unique_ptr<TUniverse> Generate(const Options& o) {
    std::mt19937 rng(o.Seed);
    auto u = TUniverse::CreateNew();
    u->ManagerVersion = kMapFormatVersion;
    for (int i = 0; i < 17; ++i) {
        u->TLAltDesc[static_cast<std::size_t>(i)] = "Alternate level " + std::to_string(i);
        u->TLAltValue[static_cast<std::size_t>(i)] = i;
    }

    std::vector<TAllegiance*> allegiances;
    for (int a = 0; a < o.Allegiances; ++a) {
        TAllegiance* al = u->Allegiances()->Create<TAllegiance>();
        al->Name1 = Syllables(rng) + " Realm " + std::to_string(a);
        al->ImportCode = std::string(1, static_cast<char>('A' + a % 26)) + static_cast<char>('a' + a / 26);
        al->Color = static_cast<std::int32_t>(rng() & 0xFFFFFF);
        al->Style = static_cast<TBrushStyle>(a % 8);
        al->Notes = "Generated allegiance";
        allegiances.push_back(al);
    }

    std::vector<int> hexes(1280);
    std::iota(hexes.begin(), hexes.end(), 0);
    const char* letters = "abcdefghijklmnop";
    std::vector<TStar*> stars;
    stars.reserve(static_cast<std::size_t>(o.Stars));
    for (int s = 0; s < o.Sectors; ++s) {
        TSector* sec = u->Sectors()->Create<TSector>();
        sec->Name1 = Syllables(rng) + " Sector " + std::to_string(s);
        sec->SectorCoordsX = s % o.SectorsPerRow + 1;
        sec->SectorCoordsY = s / o.SectorsPerRow + 1;
        for (int k = 0; k < 16; ++k)
            sec->SSName[static_cast<std::size_t>(k)] = sec->Name1.substr(0, 3) + " " + letters[k];
        const int count = o.Stars / o.Sectors + (s < o.Stars % o.Sectors ? 1 : 0);
        std::shuffle(hexes.begin(), hexes.end(), rng);
        for (int i = 0; i < std::min(count, 1280); ++i) {
            const int column = hexes[static_cast<std::size_t>(i)] % 32 + 1;
            const int row = hexes[static_cast<std::size_t>(i)] / 32 + 1;
            TStar* st = sec->Create<TStar>();
            st->Name1 = Syllables(rng) + " " + std::to_string(stars.size());
            st->SubSectorName = sec->SubsectorName((column - 1) / 8 + 1, (row - 1) / 10 + 1);
            st->StarCoordsX = (column - 1) % 8 + 1;
            st->StarCoordsY = (row - 1) % 10 + 1;
            st->UPC = {Pick(rng, "0123456789AS"), Pick(rng, "0123456789ABCDEF"), Pick(rng, "0123456789A"),
                       Pick(rng, "0123456789A"), Pick(rng, "0123456789ABCDEF"), Pick(rng, "0123456789ABCDEFGHJ")};
            st->Starport = std::string(1, Pick(rng, "ABCDEX"));
            st->Spaceport = std::string(1, Pick(rng, "FGHY"));
            st->SetTechLevel(std::string(1, Pick(rng, "0123456789ABCDEFG")));
            st->SystemContent = static_cast<std::int32_t>(rng() & 0x7FFFE);
            st->TravelZoneCode = static_cast<TTravelZoneCode>(rng() % 4);
            st->SubsectorCapital = rng() % 40 == 0;
            st->Allegiance = allegiances.empty() ? "Independent"
                                                 : allegiances[(s + (rng() % 3)) % allegiances.size()]->Name1;
            st->SysData = "PBG : " + std::to_string(rng() % 1000);
            if (rng() % 10 == 0) st->Notes = "Survey notes for " + st->Name1;
            st->Visible = true;
            stars.push_back(st);
        }
    }
    u->ComputeExtent();

    for (int r = 0; r < o.Routes && !stars.empty(); ++r) {
        TRoute* route = u->Routes()->Create<TRoute>();
        route->Name1 = "Route " + std::to_string(r);
        route->ShowRoute = true;
        route->User = true;
        route->Color = static_cast<std::int32_t>(rng() & 0xFFFFFF);
        route->LineType = static_cast<std::uint8_t>(r % 5);
        route->LineThickness = static_cast<std::uint8_t>(1 + r % 3);
        TStar* from = stars[rng() % stars.size()];
        for (int l = 0; l < o.LegsPerRoute; ++l) {
            // The next star: a random one of a few candidates nearest to the current one.
            TStar* to = stars[rng() % stars.size()];
            for (int k = 0; k < 64; ++k) {
                TStar* c = stars[rng() % stars.size()];
                if (c != from && TUniverse::StarDistance(from, c) < TUniverse::StarDistance(from, to)) to = c;
            }
            TRouteLeg* leg = route->Create<TRouteLeg>();
            leg->Name1 = route->Name1 + " - " + std::to_string(l);
            leg->SStarName = from->Name1;
            leg->EStarName = to->Name1;
            from = to;
        }
    }
    return u;
}

}  // namespace benchgen
