#include "DefineUniverse.h"
#include "ObjectStream.h"
#include "Properties.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <random>

using hexlane::ReadObjectStream;
using hexlane::ReadObjectStreamInto;
using testutil::Bytes;
using testutil::Stream;

namespace {

// Every colour that is written by name: the sixteen standard colours, the
// system colours and clNone.
std::vector<std::int32_t> NamedColours() {
    std::vector<std::int32_t> candidates{0x1FFFFFFF};
    const std::uint32_t levels[] = {0x00, 0x80, 0xC0, 0xFF};
    for (const std::uint32_t r : levels)
        for (const std::uint32_t g : levels)
            for (const std::uint32_t b : levels) candidates.push_back(static_cast<std::int32_t>(r | g << 8 | b << 16));
    for (std::uint32_t i = 0; i < 0x40; ++i) candidates.push_back(static_cast<std::int32_t>(0x80000000u + i));
    std::vector<std::int32_t> named;
    for (const std::int32_t c : candidates)
        if (ColourToIdent(c)) named.push_back(c);
    return named;
}

// A universe with every stored property set to something other than its
// default, every enumeration value, named colours, long strings.
std::unique_ptr<TUniverse> RichUniverse() {
    auto u = TUniverse::CreateNew();
    u->Name1 = "Rich";
    u->ManagerVersion = 4.51;
    u->Tag = 77;
    for (int i = 0; i < 17; ++i) {
        u->TLAltDesc[static_cast<std::size_t>(i)] = "Level " + std::to_string(i);
        u->TLAltValue[static_cast<std::size_t>(i)] = 16 - i;
    }
    const std::int32_t colours[] = {0x000000FF, 0x00123456, static_cast<std::int32_t>(0x80000018u), 0x1FFFFFFF,
                                    -1, 0x00FFFFFF, 300, 70000};
    for (int r = 0; r < 5; ++r) {
        TRoute* route = u->Routes()->Create<TRoute>();
        route->Name1 = "Route " + std::to_string(r);
        route->ShowRoute = r % 2;
        route->Color = colours[r];
        route->User = true;
        route->LineType = static_cast<std::uint8_t>(r);
        route->LineThickness = static_cast<std::uint8_t>(r * 60);
        for (int l = 0; l < 3; ++l) {
            TRouteLeg* leg = route->Create<TRouteLeg>();
            leg->Name1 = route->Name1 + " - " + std::to_string(l);
            leg->SStarName = "Star " + std::to_string(l);
            leg->EStarName = "Star " + std::to_string(l + 1);
            leg->OverrideProperties = l == 1;
            leg->Color = colours[(r + l) % 8];
            leg->LineType = static_cast<std::uint8_t>(l);
            leg->LineThickness = static_cast<std::uint8_t>(255 - l);
        }
    }
    for (int sx = 0; sx < 2; ++sx) {
        TSector* sec = testutil::AddSector(*u, "Sector " + std::to_string(sx), sx + 1, -sx);
        sec->SetExcludeFromDisplay(sx == 1);
        sec->Name = "Sec" + std::to_string(sx);
        for (int i = 0; i < 40; ++i) {
            TStar* s = testutil::AddStar(*sec, "Star " + std::to_string(sx * 40 + i), i % 32 + 1, i + 1,
                                         std::string("0RS9AC").substr(static_cast<std::size_t>(i % 6)) + "12345");
            s->TravelZoneCode = static_cast<TTravelZoneCode>(i % 4);
            s->SystemContent = i * 4099;
            s->SubsectorCapital = i % 3 == 0;
            s->Notes = std::string(static_cast<std::size_t>(i * 10), static_cast<char>('a' + i % 26));
            s->SysData = "PBG : 123\r\n\xe9\x80";
            s->Visited = i % 2;
            s->MapIndex = -i * 1000;
            s->Skewing = i * 100000;
            s->UserSurveyed = i % 5 == 0;
            s->PsiInstitute = i % 7 == 0;
            s->UAP = i;
            s->ComPsiRating = "C" + std::to_string(i);
            s->EduPsiRating = "E";
            s->GovPsiRating = "G";
            s->SecPsiRating = "S";
            s->Orbit = i - 20;
            s->Starport = std::string(1, "ABCDEX"[i % 6]);
            s->Spaceport = std::string(1, "FGHY"[i % 4]);
            s->SetTechLevel(std::string(1, "0123456789ABCDEFGU"[i % 18]));
        }
    }
    const char* styles = "01234567";
    for (int a = 0; a < 8; ++a) {
        TAllegiance* al = u->Allegiances()->Create<TAllegiance>();
        al->Name1 = std::string("Allegiance ") + styles[a];
        al->Color = colours[a];
        al->ImportCode = std::string(1, static_cast<char>('A' + a)) + (a % 2 ? "x" : "");
        al->Notes = std::string(300, 'n');
        al->Style = static_cast<TBrushStyle>(a);
    }
    // One allegiance in each named colour, so every identifier is written and
    // read; clScrollBar equals the no-default marker and is never written.
    for (const std::int32_t colour : NamedColours()) {
        if (colour == static_cast<std::int32_t>(0x80000000u)) continue;
        TAllegiance* al = u->Allegiances()->Create<TAllegiance>();
        al->Name1 = ColourToIdent(colour);
        al->Color = colour;
    }
    return u;
}

bool Reads(const std::string& bytes) {
    auto u = std::make_unique<TUniverse>();
    return ReadObjectStreamInto(*u, bytes);
}

// A minimal valid map around one star record whose property bytes are given.
std::string MapWithStarProps(const std::string& props) {
    Bytes b;
    b.Sig().Record("TUniverse").End();
    b.Record("TSectors").End();
    b.Record("TSector").End();
    b.Record("TStar");
    b.s += props;
    b.End().End();  // star: properties end, children end
    b.End().End();  // sector children end, sectors children end
    b.End();        // universe children end
    return b.s;
}

}  // namespace

TEST(StreamRead, RichUniverseWritesReadsAndWritesTheSameBytes) {
    auto u = RichUniverse();
    const std::string first = Stream(*u);
    auto back = std::make_unique<TUniverse>();
    ASSERT_TRUE(ReadObjectStreamInto(*back, first));
    EXPECT_EQ(Stream(*back), first);

    // Spot checks of values after the read.
    const TSector* sec = back->Sectors()->ChildrenOf<TSector>()[1];
    EXPECT_TRUE(sec->ExcludeFromDisplay());
    EXPECT_EQ(sec->SectorCoordsY, -1);
    EXPECT_EQ(sec->Name, "Sec1");
    const TStar* s = back->FindStar("Star 45");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->SysData, "PBG : 123\r\n\xe9\x80");
    EXPECT_EQ(s->MapIndex, -5000);
    EXPECT_EQ(s->Skewing, 500000);
    EXPECT_EQ(back->Routes()->ChildrenOf<TRoute>()[4]->LineThickness, 240);
    EXPECT_EQ(back->Allegiances()->ChildrenOf<TAllegiance>()[2]->Color, static_cast<std::int32_t>(0x80000018u));
    EXPECT_EQ(back->ManagerVersion, 4.51);
    EXPECT_EQ(back->Tag, 77);

    // Named colours go into the file as identifiers and come back as values.
    ASSERT_EQ(NamedColours().size(), 42u);
    for (const std::int32_t colour : NamedColours()) {
        if (colour == static_cast<std::int32_t>(0x80000000u)) continue;
        const std::string ident = ColourToIdent(colour);
        EXPECT_NE(first.find(std::string("\x05") + "Color\x07" + std::string(1, static_cast<char>(ident.size())) + ident),
                  std::string::npos)
            << ident;
        const TAllegiance* a = back->FindAllegiance(ident);
        ASSERT_NE(a, nullptr) << ident;
        EXPECT_EQ(a->Color, colour) << ident;
    }
}

TEST(StreamRead, OmittedPropertiesKeepTheirStartValues) {
    TRoute r;
    r.LineThickness = 1;
    auto back = ReadObjectStream(Stream(r));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(static_cast<TRoute&>(*back).LineThickness, 0);
    r.Color = static_cast<std::int32_t>(0x80000000u);
    back = ReadObjectStream(Stream(r));
    EXPECT_EQ(static_cast<TRoute&>(*back).Color, 0);
    TUniverse empty;
    back = ReadObjectStream(Stream(empty));
    EXPECT_EQ(back->ManagerVersion, 0.0);
    EXPECT_FALSE(back->IsOlderThan(0.0));
    EXPECT_TRUE(back->IsOlderThan(4.51));
}

TEST(StreamRead, AcceptedValueKinds) {
    // Names without regard to case, Boolean identifiers, integers for a Double,
    // 16- and 32-bit integers for a byte, Left/Top ignored, last value wins.
    Bytes p;
    p.Short("name1").Raw({6}).Short("First");
    p.Short("NAME1").Raw({12, 4, 0, 0, 0}).s += "Last";
    p.Ident("visited", "TRUE");
    p.Ident("Marked", "false");
    p.Short("BuyValue1").Raw({3, 0x10, 0x27});
    p.Short("Left").Raw({4, 1, 2, 3, 4});
    p.Int8("top", -3);
    p.Ident("TravelZoneCode", "TZCRED");
    p.Short("SectorName").Raw({6}).Short("Elsewhere");
    auto u = std::make_unique<TUniverse>();
    ASSERT_TRUE(ReadObjectStreamInto(*u, MapWithStarProps(p.s)));
    const TStar* s = u->Sectors()->Child(0)->Child(0) ? dynamic_cast<TStar*>(u->Sectors()->Child(0)->Child(0)) : nullptr;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Name1, "Last");
    EXPECT_TRUE(s->Visited);
    EXPECT_FALSE(s->Marked);
    EXPECT_EQ(s->BuyValue<0>(), 10000.0);
    EXPECT_EQ(s->TravelZoneCode, tzcRed);
    EXPECT_EQ(s->SectorName(), "Elsewhere");

    Bytes route;
    route.Sig().Record("TRoute").Short("LineThickness").Raw({3, 0x2C, 0x01}).End().End();
    auto r = ReadObjectStream(route.s);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(static_cast<TRoute&>(*r).LineThickness, 44);  // the low byte of 300
}

TEST(StreamRead, MalformedInputIsRejected) {
    EXPECT_TRUE(Reads(MapWithStarProps("")));
    // Signature.
    std::string bad = MapWithStarProps("");
    bad[3] = '1';
    EXPECT_FALSE(Reads(bad));
    // Unknown property, read-only property, wrong kinds, unknown identifiers.
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Int8("Colour", 1).s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Int8("PSIndex", 1).s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Int8("HasStars", 1).s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Str("StarCoordsX", "1").s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Int8("UPC", 1).s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Int8("Visited", 1).s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Ident("Visited", "Yes").s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Ident("TravelZoneCode", "tzcBlue").s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Int8("TravelZoneCode", 1).s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Ident("Color", "clPink").s)));
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Str("Left", "x").s)));
    // Value kinds that map files never hold.
    for (int type : {0, 1, 10, 11, 13, 14, 15, 16, 17, 18, 19, 20, 255})
        EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Short("StarCoordsX").Raw({type, 0, 0, 0, 0, 0, 0, 0, 0}).s)))
            << type;
}

TEST(StreamRead, RecordStructureIsChecked) {
    auto mapWithChild = [](const std::string& cls, const std::string& name) {
        Bytes b;
        b.Sig().Record("TUniverse").End();
        b.Short(cls).Short(name).End().End();
        b.End();
        return b.s;
    };
    EXPECT_TRUE(Reads(mapWithChild("TRoutes", "")));
    EXPECT_TRUE(Reads(mapWithChild("tsectors", "Good_Name1")));
    EXPECT_FALSE(Reads(mapWithChild("TForm", "")));        // not registered
    EXPECT_FALSE(Reads(mapWithChild("TUniverse", "")));    // a universe inside a universe
    EXPECT_FALSE(Reads(mapWithChild("TRoutes", "1abc")));  // not an identifier
    EXPECT_FALSE(Reads(mapWithChild("TRoutes", "a b")));

    // Sibling names must be unique (without regard to case).
    Bytes twins;
    twins.Sig().Record("TUniverse").End();
    twins.Short("TRoutes").Short("Same").End().End();
    twins.Short("TSectors").Short("same").End().End();
    twins.End();
    EXPECT_FALSE(Reads(twins.s));

    // A record flags prefix.
    Bytes flags;
    flags.Sig().Record("TUniverse").End().Raw({0xF1, 0x00}).Record("TRoutes").End().End().End();
    EXPECT_FALSE(Reads(flags.s));

    // Nesting far deeper than any map.
    Bytes deep;
    deep.Sig().Record("TUniverse").End();
    for (int i = 0; i < 100000; ++i) deep.Record("TManager").End();
    EXPECT_FALSE(Reads(deep.s));

    // A long string whose length exceeds the file.
    EXPECT_FALSE(Reads(MapWithStarProps(Bytes().Short("Notes").Raw({12, 0xFF, 0xFF, 0xFF, 0x7F}).s + "abc")));
}

TEST(StreamRead, ObjectsReadBeforeAFailureStay) {
    std::string bytes = Stream(*RichUniverse());
    bytes.resize(bytes.size() / 2);
    auto u = std::make_unique<TUniverse>();
    EXPECT_FALSE(ReadObjectStreamInto(*u, bytes));
    ASSERT_NE(u->Routes(), nullptr);
    EXPECT_EQ(u->Routes()->ChildCount(), 5u);
}

TEST(StreamRead, EveryTruncationAndRandomDamageFailsCleanly) {
    const std::string good = Stream(*RichUniverse());
    // Truncations at many points: never a crash, always a failure.
    for (std::size_t n = 0; n < good.size(); n += 7) EXPECT_FALSE(Reads(good.substr(0, n))) << n;
    std::mt19937 rng(3);
    for (int i = 0; i < 300; ++i) {
        std::string damaged = good;
        for (int k = 0; k < 4; ++k) damaged[rng() % damaged.size()] = static_cast<char>(rng());
        Reads(damaged);  // may or may not read; must not crash
    }
}
