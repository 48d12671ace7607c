#include "ImportSec.h"
#include "SecFile.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>

using secfile::Line;
using secfile::System;
using Status = TSectorImportResult::TStatus;

namespace {

class Import : public ::testing::Test {
protected:
    void SetUp() override {
        u = TUniverse::CreateNew();
        target = testutil::AddSector(*u, "Target", 2, 1);
        // Distinct subsector names, so every test sees which one a star got.
        for (int i = 0; i < 16; ++i) target->SSName[static_cast<std::size_t>(i)] = "T" + std::to_string(i);
        TSector* other = testutil::AddSector(*u, "Other", 1, 1);
        testutil::AddStar(*other, "Elsewhere", 5, 5);
        auto* a = u->Allegiances()->Create<TAllegiance>();
        a->Name1 = "Corvane Compact";
        a->ImportCode = "Cv";
        auto* b = u->Allegiances()->Create<TAllegiance>();
        b->Name1 = "Single Letter League";
        b->ImportCode = "S";
    }

    TSectorImportResult Run(const std::string& text) { return ImportSectorText(*u, "Target", text); }
    std::vector<TStar*> Stars() const { return target->Stars(); }

    std::unique_ptr<TUniverse> u;
    TSector* target = nullptr;
};

}  // namespace

TEST_F(Import, WithoutSystemLinesNothingIsDoneAndTheUniverseIsUnchanged) {
    const std::string ruler(kSectorFileRuler);
    for (const std::string& text : {
             std::string(),
             "just a header\n" + Line(System{}) + "\n",     // no ruler at all
             "header\n" + ruler,                            // ruler is the last line, no end
             "header\n" + ruler + "\r\n",                   // ruler is the last line
             ruler + " \n" + Line(System{}) + "\n",         // trailing blank: not the ruler
             ruler.substr(1) + "\n" + Line(System{}) + "\n",
         }) {
        const TSectorImportResult r = Run(text);
        EXPECT_EQ(r.Status, Status::NothingToDo) << text;
        EXPECT_EQ(r.Message, "Nothing to do.");
        EXPECT_TRUE(r.Lines.empty());
        EXPECT_FALSE(target->HasStars());
        EXPECT_FALSE(u->ManagerRequiresSaving);
        EXPECT_FALSE(u->MapDirty);
    }
}

TEST_F(Import, OnlyAnEmptySectorOfTheNameIsATarget) {
    const std::string text = secfile::File({Line(System{})});
    for (const char* name : {"Nowhere", "Other", "target"}) {
        const TSectorImportResult r = ImportSectorText(*u, name, text);
        EXPECT_EQ(r.Status, Status::InvalidSector) << name;
        EXPECT_EQ(r.Message, "Invalid Sector Pointer");
    }
    EXPECT_EQ(u->FindSector("Other")->Stars().size(), 1u);
    EXPECT_FALSE(u->ManagerRequiresSaving);

    // Two sectors of one name: the empty one receives the systems.
    TSector* twin = testutil::AddSector(*u, "Other", 3, 1);
    ASSERT_TRUE(ImportSectorText(*u, "Other", text).Ok());
    EXPECT_EQ(twin->Stars().size(), 1u);
    EXPECT_EQ(u->FindSector("Other")->Stars().size(), 1u);
}

TEST_F(Import, ColumnsBecomeTheSystemsFields) {
    System s;
    s.Name = "Harrowgate";
    s.Hex = "0940";
    s.Starport = 'B';
    s.UPC = "574734";
    s.TechLevel = 'A';
    s.Base = 'N';
    s.Zone = 'A';
    s.PBG = "702";
    s.Stellar = "K3 V M1 D       and beyond col 74";
    const TSectorImportResult r = Run(secfile::File({Line(s)}, {"# a header line", ""}));
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.Lines.empty());
    EXPECT_EQ(r.StarsImported, 1);
    ASSERT_EQ(Stars().size(), 1u);
    const TStar& st = *Stars()[0];
    EXPECT_EQ(st.Name1, "Harrowgate");
    // Hex 0940: subsector column 2, row 4, position 1, 10.
    EXPECT_EQ(st.SubSectorName, target->SubsectorName(2, 4));
    EXPECT_EQ(st.StarCoordsX, 1);
    EXPECT_EQ(st.StarCoordsY, 10);
    EXPECT_EQ(st.Starport, "B");
    EXPECT_EQ(st.UPC, "574734");
    EXPECT_EQ(st.TechLevel(), "A");
    EXPECT_EQ(st.Spaceport, "Y");
    EXPECT_TRUE(st.Visible);
    EXPECT_EQ(st.SystemContent, scNavalBase | scGasGiant);  // N, no belts, gas giants
    EXPECT_EQ(st.TravelZoneCode, tzcAmber);
    EXPECT_EQ(st.Allegiance, "Corvane Compact");
    EXPECT_EQ(st.SysData, "K3 V M1 D       \r\nPBG : 702");

    // Placed at once: extent recomputed, universe changed and dirty.
    EXPECT_EQ(st.HexX, 32 + 9);
    EXPECT_EQ(st.HexY, 40);
    EXPECT_EQ(u->MaxHexX, 41);
    EXPECT_TRUE(u->ManagerRequiresSaving);
    EXPECT_TRUE(u->MapDirty);
}

TEST_F(Import, LineEndsAndLineNumbers) {
    System a, b, c;
    a.Name = "Alder";
    b.Name = "Birch";
    b.Hex = "3240";
    c.Name = "Cedar";
    // Two header lines, ruler on line 3; CR LF and LF mixed; a blank line 6,
    // a comment line 7, and a last line without an end.
    const std::string text = "header one\r\nheader two\n" + std::string(kSectorFileRuler) + "\r\n" + Line(a) +
                             "\r\n" + Line(b) + "\n\n" + "# the end of the list\r\n" + Line(c);
    const TSectorImportResult r = Run(text);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Lines, (std::vector<std::string>{"Error at Line 6 Incomplete Data", "Error at Line 7 Incomplete Data"}));
    ASSERT_EQ(Stars().size(), 3u);
    EXPECT_EQ(Stars()[0]->Name1, "Alder");
    EXPECT_EQ(Stars()[1]->Name1, "Birch");
    EXPECT_EQ(Stars()[1]->SubSectorName, target->SubsectorName(4, 4));
    EXPECT_EQ(Stars()[1]->StarCoordsX, 8);
    EXPECT_EQ(Stars()[1]->StarCoordsY, 10);
    EXPECT_EQ(Stars()[2]->Name1, "Cedar");
    EXPECT_EQ(Stars()[2]->SysData, "G2 V\r\nPBG : 123");  // no CR left from the line end
}

TEST_F(Import, ShortLinesAreIncompleteAndA58CharacterLineIsASystem) {
    System s;
    s.Stellar = "";
    const std::string full = Line(s);
    ASSERT_EQ(full.size(), 58u);
    const TSectorImportResult r = Run(secfile::File({full.substr(0, 57), full}));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Lines, std::vector<std::string>{"Error at Line 2 Incomplete Data"});
    ASSERT_EQ(Stars().size(), 1u);
    EXPECT_EQ(Stars()[0]->SysData, "\r\nPBG : 123");
}

TEST_F(Import, AHexThatCannotBePlacedFailsItsLineOnly) {
    std::vector<std::string> lines;
    for (const char* hex : {"0A01", " 101", "01 1", "0000", "0100", "3301", "0141", "-101", "9999"}) {
        System s;
        s.Name = std::string("Bad ") + hex;
        s.Hex = hex;
        lines.push_back(Line(s));
    }
    System good;
    good.Name = "Good";
    good.Hex = "3201";
    lines.push_back(Line(good));
    const TSectorImportResult r = Run(secfile::File(lines));
    ASSERT_TRUE(r.Ok());
    std::vector<std::string> expected;
    for (int n = 2; n <= 10; ++n) expected.push_back("Error at Line " + std::to_string(n));
    EXPECT_EQ(r.Lines, expected);
    ASSERT_EQ(Stars().size(), 1u);
    EXPECT_EQ(Stars()[0]->Name1, "Good");  // no failed line used up a name either
    EXPECT_EQ(Stars()[0]->StarCoordsX, 8);
}

TEST_F(Import, EvenAFileOfOnlyBadLinesMarksTheUniverseChanged) {
    const TSectorImportResult r = Run(secfile::File({"", "short"}));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Lines.size(), 2u);
    EXPECT_FALSE(target->HasStars());
    EXPECT_TRUE(u->ManagerRequiresSaving);
    EXPECT_TRUE(u->MapDirty);
}

TEST_F(Import, BaseCodesBeltsAndGasGiants) {
    struct Case {
        char base;
        const char* pbg;
        std::int32_t flags;
    };
    const Case cases[] = {
        {'A', "100", 10},          {'B', "100", 18},      {'F', "100", 6144},     {'G', "100", 131072},
        {'H', "100", 132096},      {'U', "100", 49152},   {'Z', "100", 65536},    {'E', "100", 0},
        {'a', "100", 0},           {' ', "100", 0},       {'7', "100", 0},        {' ', "110", 256},
        {' ', "101", 128},         {' ', "1  ", 384},     {'N', "0XY", 2 + 384},
    };
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        System s;
        s.Name = "Base " + std::to_string(i);
        s.Base = cases[i].base;
        s.PBG = cases[i].pbg;
        lines.push_back(Line(s));
    }
    ASSERT_TRUE(Run(secfile::File(lines)).Ok());
    ASSERT_EQ(Stars().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(Stars()[i]->SystemContent, cases[i].flags) << "base '" << cases[i].base << "' PBG " << cases[i].pbg;

    // The dialog's descriptions differ from the flags for G and H.
    EXPECT_STREQ(BaseCodeDescription('G'), "Not Defined");
    EXPECT_STREQ(BaseCodeDescription('H'), "Not Defined");
    EXPECT_STREQ(BaseCodeDescription('U'), "Clan Naval Base AND Tlaukhu Naval Base");
    EXPECT_STREQ(BaseCodeDescription('a'), "");
}

TEST_F(Import, ZonesAndAllegiances) {
    struct Case {
        char zone;
        const char* code;
        TTravelZoneCode expectedZone;
        const char* expectedAllegiance;
    };
    const Case cases[] = {
        {'A', "Cv", tzcAmber, "Corvane Compact"},
        {'R', "cv", tzcRed, "Unknown"},         // codes compare exactly
        {'a', "S ", tzcGreen, "Unknown"},       // a one-letter code does not match letter + blank
        {' ', "  ", tzcGreen, "Unknown"},
        {'G', "Xx", tzcGreen, "Unknown"},
    };
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        System s;
        s.Name = "Zone " + std::to_string(i);
        s.Zone = cases[i].zone;
        s.Allegiance = cases[i].code;
        lines.push_back(Line(s));
    }
    ASSERT_TRUE(Run(secfile::File(lines)).Ok());
    ASSERT_EQ(Stars().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Stars()[i]->TravelZoneCode, cases[i].expectedZone) << i;
        EXPECT_EQ(Stars()[i]->Allegiance, cases[i].expectedAllegiance) << i;
    }
}

TEST_F(Import, TheFirstAllegianceWithTheCodeWinsAndNoneGivesUnknown) {
    auto* later = u->Allegiances()->Create<TAllegiance>();
    later->Name1 = "Later Namesake";
    later->ImportCode = "Cv";
    ASSERT_TRUE(Run(secfile::File({Line(System{})})).Ok());
    EXPECT_EQ(Stars()[0]->Allegiance, "Corvane Compact");

    auto bare = TUniverse::CreateNew();
    TSector* s = testutil::AddSector(*bare, "Bare", 1, 1);
    ASSERT_TRUE(ImportSectorText(*bare, "Bare", secfile::File({Line(System{})})).Ok());
    EXPECT_EQ(s->Stars()[0]->Allegiance, "Unknown");
}

TEST_F(Import, NamesAreTrimmedFilledInAndMadeUnique) {
    auto line = [](const std::string& name, const std::string& upc = "788899") {
        System s;
        s.Name = name;
        s.UPC = upc;
        return Line(s);
    };
    testutil::AddStar(*u->FindSector("Other"), "Nova", 1, 1);
    const TSectorImportResult r = Run(secfile::File({
        line("Nova"), line("Fourteen Chars"), line(""), line("Nova"), line("Elsewhere"), line(""),
        line("  Lead Blanks"),
    }));
    ASSERT_TRUE(r.Ok());
    std::vector<std::string> names;
    for (const TStar* s : Stars()) names.push_back(s->Name1);
    EXPECT_EQ(names, (std::vector<std::string>{"Nova (2)", "Fourteen Chars", "Star788899", "Nova (3)",
                                               "Elsewhere (2)", "Star788899 (2)", "  Lead Blanks"}));
    // Every renamed system is listed.
    EXPECT_EQ(r.Lines, (std::vector<std::string>{"Nova at Line 2 renamed Nova (2)", "Nova at Line 5 renamed Nova (3)",
                                                 "Elsewhere at Line 6 renamed Elsewhere (2)",
                                                 "Star788899 at Line 7 renamed Star788899 (2)"}));
}

TEST_F(Import, UniqueNamesAreThoseOfUniqueStarNameLineByLine) {
    // The import keeps its own index of names; it must give what the
    // universe's UniqueStarName gives when asked before each new star.
    const std::vector<std::string> pool = {"Nova", "Nova (2)", "Nova (3)", "Nova (2) (2)", "Vela", "Vela (5)"};
    testutil::AddStar(*u->FindSector("Other"), "Nova (2)", 2, 2);
    testutil::AddStar(*u->FindSector("Other"), "Vela (3)", 3, 3);
    auto reference = TUniverse::CreateNew();
    TSector* refSector = testutil::AddSector(*reference, "Ref", 1, 1);
    u->ForEachStar([&](TStar& s) { testutil::AddStar(*refSector, s.Name1, 1, 1); });

    std::vector<std::string> lines, expected;
    std::uint32_t state = 12345;
    for (int i = 0; i < 300; ++i) {
        state = state * 1664525u + 1013904223u;
        const std::string& name = pool[(state >> 16) % pool.size()];
        System s;
        s.Name = name;
        lines.push_back(Line(s));
        expected.push_back(reference->UniqueStarName(name));
        testutil::AddStar(*refSector, expected.back(), 1, 1);
    }
    ASSERT_TRUE(Run(secfile::File(lines)).Ok());
    ASSERT_EQ(Stars().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Stars()[i]->Name1, expected[i]) << i;
}

TEST_F(Import, AnyByteIsHandled) {
    // NUL and bytes above 127 are kept as they stand; a very long line keeps
    // 16 characters of stellar data.
    System s;
    s.Name = std::string("N\0ul\xE9\xFF", 6);
    s.UPC = std::string("\x80\0" "AB\xFE" "1", 6);
    s.Allegiance = std::string("\0\0", 2);
    s.Stellar = std::string(100000, '\xF0');
    std::string text = secfile::File({Line(s), std::string(3, '\0'), std::string(200000, '\r')});
    text += '\0';
    const TSectorImportResult r = Run(text);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Lines, (std::vector<std::string>{"Error at Line 3 Incomplete Data", "Error at Line 4",
                                                 "Error at Line 5 Incomplete Data"}));
    ASSERT_EQ(Stars().size(), 1u);
    const TStar& st = *Stars()[0];
    EXPECT_EQ(st.Name1, s.Name);
    EXPECT_EQ(st.UPC, s.UPC);
    EXPECT_EQ(st.Allegiance, "Unknown");
    EXPECT_EQ(st.SysData, std::string(16, '\xF0') + "\r\nPBG : 123");
}

TEST_F(Import, FromAFile) {
    const auto path = std::filesystem::temp_directory_path() / "hexlane-import-test.sec";
    {
        std::ofstream out(path, std::ios::binary);
        out << secfile::File({Line(System{})}, {"header"}, "\r\n");
    }
    const TSectorImportResult r = ImportSectorFile(*u, "Target", path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(Stars().size(), 1u);

    const TSectorImportResult missing = ImportSectorFile(*u, "Other", path.string());
    EXPECT_EQ(missing.Status, Status::InvalidSector);  // the sector is checked first
    testutil::AddSector(*u, "Spare", 3, 3);
    u->ManagerRequiresSaving = false;
    const TSectorImportResult unreadable = ImportSectorFile(*u, "Spare", path.string());
    EXPECT_EQ(unreadable.Status, Status::FileError);
    EXPECT_NE(unreadable.Message.find(path.string()), std::string::npos);
    EXPECT_FALSE(u->ManagerRequiresSaving);
#ifndef _WIN32
    // A pipe is refused at once instead of waiting for a writer.
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const TSectorImportResult pipe = ImportSectorFile(*u, "Spare", path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(pipe.Status, Status::FileError);
#endif
}
