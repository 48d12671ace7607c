#include "DefineUniverse.h"
#include "ObjectStream.h"
#include "Properties.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

using testutil::Bytes;
using testutil::Stream;

namespace {

// Bytes of the properties of an object record, between the header and the
// property end byte.
std::string PropertyBytes(const TManager& obj) {
    const std::string all = Stream(obj);
    const std::size_t header = 4 + 1 + obj.Class().Name.size() + 1;
    // Every test object has no children: the record ends with 00 00.
    return all.substr(header, all.size() - header - 2);
}

}  // namespace

TEST(StreamWrite, NewEmptyMapIsThe294ByteFile) {
    Bytes b;
    b.Sig().Record("TUniverse");
    for (const char* c : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F", "G"})
        b.Int8(std::string("TL") + c + "AltValue", 0);
    b.End();
    b.Record("TRoutes").End().End();
    b.Record("TSectors").End().End();
    b.Record("TAllegiances").End().End();
    b.End();
    const std::string written = Stream(*TUniverse::CreateNew());
    EXPECT_EQ(written.size(), 294u);
    EXPECT_EQ(written, b.s);
}

TEST(StreamWrite, AllegianceRecordAndVersionNumber) {
    TAllegiance a;
    a.Name1 = "Independent";
    a.Color = 0x0000FF;
    a.Style = bsSolid;
    Bytes expected;
    expected.Sig().Record("TAllegiance");
    expected.Str("Name1", "Independent").Ident("Color", "clRed").Ident("Style", "bsSolid").End().End();
    EXPECT_EQ(Stream(a), expected.s);

    TRoutes r;
    r.ManagerVersion = 4.51;
    Bytes v;
    v.Short("ManagerVersion").Raw({0x05, 0x00, 0x50, 0xB8, 0x1E, 0x85, 0xEB, 0x51, 0x90, 0x01, 0x40});
    EXPECT_EQ(PropertyBytes(r), v.s);
}

TEST(StreamWrite, IntegersUseTheSmallestEncoding) {
    auto encode = [](int v) {
        TStar s;
        s.StarCoordsX = v;
        const std::string p = PropertyBytes(s);
        const std::string key = std::string("\x0bStarCoordsX", 12);
        const std::size_t at = p.find(key) + key.size();
        return p.substr(at, p.find("\x0bStarCoordsY") - at);
    };
    EXPECT_EQ(encode(127), std::string("\x02\x7f", 2));
    EXPECT_EQ(encode(-128), std::string("\x02\x80", 2));
    EXPECT_EQ(encode(128), std::string("\x03\x80\x00", 3));
    EXPECT_EQ(encode(-129), std::string("\x03\x7f\xff", 3));
    EXPECT_EQ(encode(32767), std::string("\x03\xff\x7f", 3));
    EXPECT_EQ(encode(40000), std::string("\x04\x40\x9c\x00\x00", 5));
    EXPECT_EQ(encode(-2147483647), std::string("\x04\x01\x00\x00\x80", 5));
}

TEST(StreamWrite, DefaultsDecideWhatIsWritten) {
    TRoute r;
    r.LineThickness = 1;  // the declared default: not written
    std::string p = PropertyBytes(r);
    EXPECT_EQ(p.find("LineThickness"), std::string::npos);
    EXPECT_NE(p.find("\x08LineType\x02\x00", 0), std::string::npos);  // no default: always written
    r.LineThickness = 2;
    EXPECT_NE(PropertyBytes(r).find(std::string("\x0dLineThickness\x02\x02", 16)), std::string::npos);

    // A colour equal to the no-default marker (clScrollBar) is not written.
    r.Color = static_cast<std::int32_t>(0x80000000u);
    EXPECT_EQ(PropertyBytes(r).find("Color"), std::string::npos);
    r.Color = 0x123456;  // unnamed colour: an integer
    EXPECT_NE(PropertyBytes(r).find(std::string("\x05" "Color\x04\x56\x34\x12\x00", 11)), std::string::npos);
    r.Color = 0x1FFFFFFF;
    EXPECT_NE(PropertyBytes(r).find(std::string("\x05" "Color\x07\x06" "clNone", 14)), std::string::npos);

    TStar s;  // empty strings and zero doubles are left out; integers are not
    p = PropertyBytes(s);
    EXPECT_EQ(p.find("Notes"), std::string::npos);
    EXPECT_EQ(p.find("ManagerVersion"), std::string::npos);
    EXPECT_EQ(p.find("Tag"), std::string::npos);
    EXPECT_NE(p.find(std::string("\x0dSystemContent\x02\x00", 16)), std::string::npos);
    EXPECT_NE(p.find(std::string("\x0eTravelZoneCode\x07\x0atzcUnknown", 27)), std::string::npos);
    EXPECT_NE(p.find(std::string("\x07Visited\x08", 9)), std::string::npos);
    s.Tag = -5;
    EXPECT_EQ(PropertyBytes(s).substr(0, 6), std::string("\x03Tag\x02\xfb", 6));
}

TEST(StreamWrite, StringsUpTo255BytesAreShort) {
    TStar s;
    s.Notes = std::string(255, 'x');
    std::string p = PropertyBytes(s);
    EXPECT_NE(p.find(std::string("\x05Notes\x06\xff", 8) + std::string(255, 'x')), std::string::npos);
    s.Notes = std::string(256, 'y');
    p = PropertyBytes(s);
    EXPECT_NE(p.find(std::string("\x05Notes\x0c\x00\x01\x00\x00", 11) + std::string(256, 'y')), std::string::npos);
}

// The alternate scale is a way of showing tech levels: a file or a copy made
// while it is in use still holds the real code.
TEST(StreamWrite, TechLevelIsWrittenAsStoredWhateverTheAlternateScale) {
    auto u = TUniverse::CreateNew();
    TSector* sec = testutil::AddSector(*u, "Home", 1, 1);
    TStar* s = testutil::AddStar(*sec, "Alpha", 1, 1);
    s->SetTechLevel("5");
    u->TLAltValue[5] = 12;
    u->UseAltTL = true;
    ASSERT_EQ(s->TechLevel(), "C");
    EXPECT_NE(Stream(*u).find(std::string("\x09TechLevel\x06\x01" "5", 13)), std::string::npos);
    std::unique_ptr<TManager> copy = CloneObject(*s);
    EXPECT_EQ(dynamic_cast<TStar&>(*copy).StoredTechLevel(), "5");
    u->UseAltTL = false;
    EXPECT_NE(Stream(*u).find(std::string("\x09TechLevel\x06\x01" "5", 13)), std::string::npos);
}

TEST(StreamWrite, ChildrenFollowInChildOrder) {
    auto u = TUniverse::CreateNew();
    testutil::AddSector(*u, "B", 2, 1);
    testutil::AddSector(*u, "A", 1, 1);
    const std::string bytes = Stream(*u);
    EXPECT_LT(bytes.find("\x05Name1\x06\x01" "B"), bytes.find("\x05Name1\x06\x01" "A"));
    EXPECT_LT(bytes.find("TRoutes"), bytes.find("TSectors"));
    EXPECT_LT(bytes.find("TSectors"), bytes.find("TAllegiances"));
}
