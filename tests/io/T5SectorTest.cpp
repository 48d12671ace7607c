#include "ImportSec.h"
#include "ImportT5.h"
#include "SecFile.h"
#include "SectorExport.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

using Status = TSectorImportResult::TStatus;

namespace {

const std::vector<std::string> kHeader = {"Sector", "SS", "Hex", "Name", "UWP", "Bases", "Remarks", "Zone", "PBG",
                                          "Allegiance", "Stars", "{Ix}", "(Ex)", "[Cx]", "Nobility", "W", "RU"};

std::string Join(const std::vector<std::string>& fields, const char* sep = "\t") {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? sep : "") + fields[i];
    return line;
}

// A tab-delimited file: a comment, the header, the rows.
std::string TabFile(const std::vector<std::vector<std::string>>& rows, const std::vector<std::string>& header = kHeader) {
    std::string text = "# Invented sector for tests\n" + Join(header) + "\n";
    for (const auto& r : rows) text += Join(r) + "\n";
    return text;
}

std::vector<std::string> Row(const std::string& hex, const std::string& name, const std::string& uwp = "A788899-C",
                             const std::string& bases = "", const std::string& remarks = "Ri",
                             const std::string& zone = "", const std::string& pbg = "123",
                             const std::string& allegiance = "Cv") {
    return {"Tst", "A", hex, name, uwp, bases, remarks, zone, pbg, allegiance, "G2 V", "", "", "", "", "", ""};
}

class T5 : public ::testing::Test {
protected:
    void SetUp() override {
        u = TUniverse::CreateNew();
        target = testutil::AddSector(*u, "Target", 2, 1);
        TSector* other = testutil::AddSector(*u, "Other", 1, 1);
        testutil::AddStar(*other, "Nova", 5, 5);
        testutil::AddStar(*other, "Nova (2)", 5, 6);
        for (auto [name, code] : {std::pair{"Corvane Compact", "Cv"}, {"Old Imperium", "Im"}, {"Drift League", "DrLg"}}) {
            auto* a = u->Allegiances()->Create<TAllegiance>();
            a->Name1 = name;
            a->ImportCode = code;
        }
    }
    TSectorImportResult Run(const std::string& text) { return ImportSectorText(*u, "Target", text); }
    const TStar& Star(std::size_t i) const { return *target->Stars().at(i); }

    std::unique_ptr<TUniverse> u;
    TSector* target = nullptr;
};

}  // namespace

TEST(SectorFormat, IsFoundFromTheContents) {
    const std::string column = "# comment\nHex  Name  UWP       B Z\n---- ----- --------- - -\n0101 Nova  A788899-C N -\n";
    const struct {
        std::string text;
        TSectorFormat format;
    } cases[] = {
        {"head\n" + std::string(kSectorFileRuler) + "\n", TSectorFormat::Classic},
        {TabFile({}), TSectorFormat::T5Tab},
        {"\xEF\xBB\xBF" "Hex\tUWP\r\n", TSectorFormat::T5Tab},
        {column, TSectorFormat::T5Column},
        {"Hex  Name UWP\n---- ---- ---------\n", TSectorFormat::T5Column},
        {"Hex\tName\n0101\tNova\n", TSectorFormat::Unknown},            // no UWP column
        {"Hex Name UWP\n0101 Nova A788899-C\n", TSectorFormat::Unknown},  // no dash line
        {"Name UWP Hex\n---- --- ---\n", TSectorFormat::Unknown},       // column header not led by Hex
        {"# only comments\n\n", TSectorFormat::Unknown},
        {std::string("\x00\xFF\t\n", 4), TSectorFormat::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(DetectSectorFormat(c.text), c.format) << c.text;
}

TEST_F(T5, JunkIsNothingToDoAndAHeaderWithoutRowsToo) {
    for (const std::string& text : {std::string("Hex\tName\n0101\tNova\n"), TabFile({}), std::string("random words\n")}) {
        const TSectorImportResult r = Run(text);
        EXPECT_EQ(r.Status, Status::NothingToDo);
        EXPECT_EQ(r.Message, "Nothing to do.");
    }
    EXPECT_FALSE(u->ManagerRequiresSaving);
}

TEST_F(T5, FieldRules) {
    const struct {
        std::vector<std::string> row;
        std::string name, allegiance;
        std::int32_t content;
        TTravelZoneCode zone;
        bool capital;
    } cases[] = {
        {Row("0101", "Alder", "A788899-C", "NS", "Ri Cp", "A", "123", "Cv"), "Alder", "Corvane Compact",
         scNavalBase | scScoutBase | scPlanetoids | scGasGiant, tzcAmber, true},
        {Row("0102", "Birch", "B574734-A", "KW", "Cs", "R", "700", "ImDd"), "Birch", "Old Imperium",
         scPlanetaryNavalBase | scScoutWayStation, tzcRed, true},
        {Row("0103", "Cedar", "C000000-0", "-", "Cx", "-", "110", "DrLg"), "Cedar", "Drift League", scPlanetoids, tzcGreen, true},
        {Row("0104", "", "X9A5000-7", "G", "CpX", "a", "101", "NwCo"), "Star9A5000", "NwCo", scVargrNavalBase | scGasGiant,
         tzcGreen, false},
        {Row("0105", "Nova", "E200000-?", "a", "", "", "", ""), "Nova (3)", "Unknown", 0, tzcGreen, false},
        {Row("0106", "-", "A788899-C", "", "", "", "-", "NwCo"), "Star788899", "NwCo", 0, tzcGreen, false},
    };
    std::vector<std::vector<std::string>> rows;
    for (const auto& c : cases) rows.push_back(c.row);
    const TSectorImportResult r = Run(TabFile(rows));
    ASSERT_TRUE(r.Ok());
    // The added allegiance once, at its first row; the renamed namesake.
    EXPECT_EQ(r.Lines, (std::vector<std::string>{"Allegiance NwCo added", "Nova at Line 7 renamed Nova (3)"}));
    ASSERT_EQ(target->Stars().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const TStar& s = Star(i);
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(s.Name1, cases[i].name);
        EXPECT_EQ(s.Allegiance, cases[i].allegiance);
        EXPECT_EQ(s.SystemContent, cases[i].content);
        EXPECT_EQ(s.TravelZoneCode, cases[i].zone);
        EXPECT_EQ(s.SubsectorCapital, cases[i].capital);
        EXPECT_EQ(s.StarCoordsY, static_cast<int>(i) + 1);
    }
    EXPECT_EQ(Star(1).Starport, "B");
    EXPECT_EQ(Star(1).UPC, "574734");
    EXPECT_EQ(Star(1).TechLevel(), "A");
    const TAllegiance* added = u->FindAllegiance("NwCo");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->ImportCode, "NwCo");
    EXPECT_EQ(Star(0).SysData, "G2 V\r\nPBG : 123\r\nRemarks : Ri Cp");
}

TEST_F(T5, SysDataKeepsTheFieldsWithoutAPropertyInColumnOrder) {
    // Columns in another order, Sector and SS missing, one column of another name.
    const std::vector<std::string> header = {"RU", "Name", "Hex", "W", "Nobility", "UWP", "[Cx]", "(Ex)", "{Ix}",
                                             "Remarks", "Stars", "Extra", "PBG"};
    const std::string text =
        TabFile({{"240", "Alder", "3240", "12", "BcC", "A788899-C", "[8C5A]", "(A46+2)", "{ 2 }", "Ag Ni", "F7 V", "x", "310"}},
                header);
    ASSERT_TRUE(Run(text).Ok());
    const TStar& s = Star(0);
    EXPECT_EQ(s.SysData, "F7 V\r\nPBG : 310\r\nRemarks : Ag Ni\r\n{Ix} : { 2 }\r\n(Ex) : (A46+2)\r\n[Cx] : [8C5A]\r\n"
                         "Nobility : BcC\r\nW : 12\r\nRU : 240\r\nExtra : x");
    EXPECT_EQ(s.SubSectorName, target->SubsectorName(4, 4));
    EXPECT_EQ(s.StarCoordsX, 8);
    EXPECT_EQ(s.StarCoordsY, 10);
    EXPECT_EQ(s.Allegiance, "Unknown");
}

TEST_F(T5, ColumnDelimitedFilesWithShortHeadings) {
    const std::string text =
        "Hex  Name         UWP       Remarks {Ix}  N   B  Z PBG A    Stellar\n"
        "---- ------------ --------- ------- ----- --- -- - --- ---- ----------\n"
        "0310 Two Words    B574734-A Ag Cp   { 1 } BcC NS A 123 Cv   G2 V M0 V\n"
        "0311 Dash         C000000-0 -       -     -   -  - 100 -    -\n";
    const TSectorImportResult r = Run(text);
    ASSERT_TRUE(r.Ok());
    ASSERT_EQ(target->Stars().size(), 2u);
    const TStar& a = Star(0);
    EXPECT_EQ(a.Name1, "Two Words");
    EXPECT_EQ(a.SystemContent, scNavalBase | scScoutBase | scPlanetoids | scGasGiant);
    EXPECT_EQ(a.TravelZoneCode, tzcAmber);
    EXPECT_EQ(a.Allegiance, "Corvane Compact");
    EXPECT_TRUE(a.SubsectorCapital);
    EXPECT_EQ(a.SysData, "G2 V M0 V\r\nPBG : 123\r\nRemarks : Ag Cp\r\n{Ix} : { 1 }\r\nNobility : BcC");
    EXPECT_EQ(Star(1).SystemContent, 0);
    EXPECT_EQ(Star(1).Allegiance, "Unknown");
    EXPECT_EQ(Star(1).SysData, "\r\nPBG : 100");
}

TEST_F(T5, BadRowsAreReportedInLineOrderAndSkipped) {
    std::string text = TabFile({Row("0101", "Good"), Row("01O2", "Letter O"), Row("3341", "Outside"),
                                Row("0104", "Short UWP", "A788899"), Row("0105", "New", "A788899-C", "", "", "", "", "ZzZz")});
    text += "0106\tTooFew\n";
    text += Join(Row("0107", "TooMany")) + "\tsurplus\n";
    text += Join(Row("0108", "Trailing")) + "\t\t\n";  // empty surplus fields are no fault
    const TSectorImportResult r = Run(text);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Lines, (std::vector<std::string>{"Error at Line 4 Bad Hex", "Error at Line 5 Bad Hex",
                                                 "Error at Line 6 Bad UWP", "Allegiance ZzZz added",
                                                 "Error at Line 8 Incomplete Data", "Error at Line 9 Too Many Fields"}));
    EXPECT_EQ(r.StarsImported, 3);
    EXPECT_TRUE(u->ManagerRequiresSaving);

    // A column-delimited row that stops before the last column.
    TSector* second = testutil::AddSector(*u, "Second", 3, 1);
    const TSectorImportResult c =
        ImportSectorText(*u, "Second", "Hex  Name UWP       Stellar\n---- ---- --------- -------\n0101 Abc\n");
    EXPECT_EQ(c.Lines, std::vector<std::string>{"Error at Line 3 Incomplete Data"});
    EXPECT_FALSE(second->HasStars());
}

TEST_F(T5, Utf8AndWindows1252Text) {
    std::string text = TabFile({Row("0101", "Caf\xC3\xA9 \xE2\x82\xAC"),      // UTF-8: é and the euro sign
                                Row("0102", "Caf\xE9"),                      // Windows-1252 é
                                Row("0103", "Ome\xCE\xA9" "a")});            // UTF-8 omega: no Windows-1252 for it
    const TSectorImportResult r = Run(text);
    EXPECT_EQ(r.Lines, std::vector<std::string>{"Error at Line 5 Not Windows-1252 Text"});
    ASSERT_EQ(target->Stars().size(), 2u);
    EXPECT_EQ(Star(0).Name1, "Caf\xE9 \x80");
    EXPECT_EQ(Star(1).Name1, "Caf\xE9");
}

namespace {

// The stored properties a T5 import sets.
std::string Properties(const TStar& s) {
    std::ostringstream o;
    o << s.Name1 << '|' << s.SubSectorName << '|' << s.StarCoordsX << ',' << s.StarCoordsY << '|' << s.Starport << s.UPC
      << s.StoredTechLevel() << '|' << s.SystemContent << '|' << int(s.TravelZoneCode) << '|' << s.Allegiance << '|'
      << s.SubsectorCapital << '|' << s.SysData << '|' << s.Spaceport << s.Visible;
    return o.str();
}

std::vector<std::string> AllProperties(const TSector& sector) {
    std::vector<std::string> out;
    for (const TStar* s : sector.Stars()) out.push_back(Properties(*s));
    return out;
}

}  // namespace

TEST_F(T5, ExportedT5FilesImportBackTheSameSystems) {
    const std::string original =
        TabFile({{"Target", "A", "0101", "Alder", "A788899-C", "NS", "Ri Cp", "A", "123", "Cv", "G2 V", "{ 2 }", "(A46+2)",
                  "[8C5A]", "BcC", "12", "240"},
                 {"Target", "F", "1015", "Caf\xC3\xA9", "B574734-A", "KM", "", "R", "703", "NwCo", "K3 V M1 D", "", "", "", "", "", ""},
                 {"Target", "P", "3240", "Cedar", "X000000-0", "DCZG", "Ba", "", "010", "", "", "", "", "", "", "", ""}});
    ASSERT_TRUE(Run(original).Ok());
    std::vector<std::string> lines;
    // The .tab export gives back the original rows.
    const std::string tab = SectorFileText(*u, *target, TSectorFormat::T5Tab, lines);
    std::string expected = original.substr(original.find('\n') + 1);
    std::string got = tab;
    for (std::string* s : {&expected, &got})
        for (std::size_t at; (at = s->find('\r')) != std::string::npos;) s->erase(at, 1);
    EXPECT_EQ(got, expected);

    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column}) {
        auto other = TUniverse::CreateNew();
        TSector* back = testutil::AddSector(*other, "Back", 1, 1);
        back->SSName = target->SSName;
        for (const TAllegiance* a : u->Allegiances()->ChildrenOf<TAllegiance>()) {
            auto* copy = other->Allegiances()->Create<TAllegiance>();
            copy->Name1 = a->Name1;
            copy->ImportCode = a->ImportCode;
        }
        const std::string text = SectorFileText(*u, *target, format, lines);
        EXPECT_EQ(DetectSectorFormat(text), format);
        const TSectorImportResult r = ImportSectorText(*other, "Back", text);
        ASSERT_TRUE(r.Ok());
        EXPECT_EQ(AllProperties(*back), AllProperties(*target)) << text;
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(T5, ClassicExportHoldsWhatItsColumnsCanAndListsWhatItShortened) {
    ASSERT_TRUE(Run(TabFile({Row("0101", "Fits Exactly14", "A788899-C", "NS", "Ri", "A", "123", "Cv"),
                             Row("0102", "A Name Beyond Fourteen", "B574734-A", "NSD", "", "", "120", "DrLg")}))
                    .Ok());
    std::vector<std::string> lines;
    const std::string sec = SectorFileText(*u, *target, TSectorFormat::Classic, lines);
    EXPECT_EQ(lines, std::vector<std::string>{"A Name Beyond Fourteen shortened (Name, Bases, Allegiance)"});

    auto other = TUniverse::CreateNew();
    TSector* back = testutil::AddSector(*other, "Back", 1, 1);
    back->SSName = target->SSName;
    for (auto [name, code] : {std::pair{"Corvane Compact", "Cv"}, {"Drift League", "Dr"}}) {
        auto* a = other->Allegiances()->Create<TAllegiance>();
        a->Name1 = name;
        a->ImportCode = code;
    }
    const TSectorImportResult r = ImportSectorText(*other, "Back", sec);
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.Lines.empty());
    ASSERT_EQ(back->Stars().size(), 2u);
    const TStar& a = *back->Stars()[0];
    const TStar& b = *back->Stars()[1];
    EXPECT_EQ(a.Name1, "Fits Exactly14");
    EXPECT_EQ(a.SystemContent, Star(0).SystemContent);  // "A": naval and scout base
    EXPECT_EQ(a.TravelZoneCode, tzcAmber);
    EXPECT_EQ(a.Allegiance, "Corvane Compact");
    EXPECT_EQ(a.SysData, "G2 V\r\nPBG : 123");
    EXPECT_EQ(b.Name1, "A Name Beyond");
    EXPECT_EQ(b.UPC, "574734");
    EXPECT_EQ(b.SystemContent, scNavalBase | scScoutBase | scPlanetoids);  // the depot did not fit
    EXPECT_EQ(b.Allegiance, "Drift League");                               // "DrLg" written as "Dr"
}

TEST_F(T5, ExportWritesTheFileOfItsExtension) {
    ASSERT_TRUE(Run(TabFile({Row("0101", "Alder")})).Ok());
    const auto dir = std::filesystem::temp_directory_path() / "hexlane-t5-export";
    std::filesystem::create_directories(dir);
    for (const char* name : {"out.tab", "out.TXT", "out.sec"}) {
        const std::string path = (dir / name).string();
        const TSectorExportResult r = ExportSectorFile(*u, *target, path);
        ASSERT_TRUE(r.Ok) << r.Message;
        EXPECT_EQ(r.StarsWritten, 1);
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(DetectSectorFormat(text), SectorFormatOfFileName(path)) << name;
    }
    const TSectorExportResult bad = ExportSectorFile(*u, *target, (dir / "out.dat").string());
    EXPECT_FALSE(bad.Ok);
    EXPECT_EQ(bad.Message, kSectorExtensionMessage);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.dat"));
    std::filesystem::remove_all(dir);
}

TEST_F(T5, TabsAndLineEndsInAValueAreWrittenAsBlanksAndListed) {
    ASSERT_TRUE(Run(TabFile({Row("0101", "Alder")})).Ok());
    target->Stars()[0]->SysData = "G2\tV\r\nPBG : 123\r\nRemarks : Ri\rCp";
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column, TSectorFormat::Classic}) {
        std::vector<std::string> lines;
        const std::string text = SectorFileText(*u, *target, format, lines);
        EXPECT_EQ(lines, std::vector<std::string>{"Alder changed (control characters written as blanks)"});
        EXPECT_NE(text.find("G2 V"), std::string::npos);
    }
}

TEST_F(T5, AKeptColumnNeverReadsBackAsAT5Field) {
    // A kept field whose name has blanks around it: its heading reads back
    // trimmed, so "A  " would be the allegiance column of a column file.
    ASSERT_TRUE(Run(TabFile({Row("0101", "Alder")})).Ok());
    target->Stars()[0]->SysData = "G2 V\r\nA  : lon\r\n Notes : kept";
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column}) {
        std::vector<std::string> lines;
        const std::string text = SectorFileText(*u, *target, format, lines);
        EXPECT_EQ(text.find("lon"), std::string::npos);
        EXPECT_NE(text.find("Notes"), std::string::npos);
        auto again = TUniverse::CreateNew();
        testutil::AddSector(*again, "Target", 2, 1);
        const TSectorImportResult back = ImportSectorText(*again, "Target", text);
        for (const std::string& line : back.Lines) EXPECT_EQ(line.find("lon"), std::string::npos) << line;
        EXPECT_NE(again->FindSector("Target")->Stars()[0]->SysData.find("Notes : kept"), std::string::npos);
    }
}

TEST_F(T5, RowsCutShortAreSystemsWhenTheyHoldTheHexAndUWP) {
    const std::string column =
        "Hex  Name UWP       B  Z PBG A    Stellar\n"
        "---- ---- --------- -- - --- ---- -------\n"
        "0101 Abc  A788899-C\n"            // cut after the UWP
        "0102 Def  B574734-A N  A 1\n"     // cut inside PBG
        "0103 Ghi  C000\n"                 // cut inside the UWP: a bad UWP
        "0104 Jkl\n";                      // no UWP at all
    const TSectorImportResult r = Run(column);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Lines, (std::vector<std::string>{"Error at Line 5 Bad UWP", "Error at Line 6 Incomplete Data"}));
    ASSERT_EQ(target->Stars().size(), 2u);
    EXPECT_EQ(Star(0).SysData, "\r\nPBG : ");
    EXPECT_EQ(Star(1).SystemContent, scNavalBase);
    EXPECT_EQ(Star(1).TravelZoneCode, tzcAmber);
    EXPECT_EQ(Star(1).Allegiance, "Unknown");

    TSector* second = testutil::AddSector(*u, "Second", 3, 1);
    const TSectorImportResult tab = ImportSectorText(*u, "Second", "Hex\tName\tUWP\tZone\n0101\tMno\tA788899-C\n");
    EXPECT_TRUE(tab.Lines.empty());
    EXPECT_EQ(second->Stars().size(), 1u);
}

TEST_F(T5, AFileOfTooManyColumnsIsRefusedWhole) {
    for (std::size_t columns : {kMaxT5Columns, kMaxT5Columns + 1}) {
        std::vector<std::string> header = kHeader, row = Row("0101", "Alder");
        for (std::size_t i = header.size(); i < columns; ++i) header.push_back("X" + std::to_string(i)), row.push_back("");
        auto fresh = TUniverse::CreateNew();
        TSector* s = testutil::AddSector(*fresh, "S", 1, 1);
        const TSectorImportResult r = ImportSectorText(*fresh, "S", TabFile({row}, header));
        EXPECT_EQ(r.Ok(), columns == kMaxT5Columns) << columns;
        EXPECT_EQ(s->Stars().size(), columns == kMaxT5Columns ? 1u : 0u);
        if (!r.Ok()) {
            EXPECT_EQ(r.Message, "The file has 65 columns; at most 64 are read");
        }
        EXPECT_EQ(fresh->ManagerRequiresSaving, r.Ok());
    }
}

TEST_F(T5, AllegianceOfTheCodesNameIsTakenNotAdded) {
    auto* named = u->Allegiances()->Create<TAllegiance>();
    named->Name1 = "Qx";
    named->ImportCode = "Zq";
    const std::size_t before = u->Allegiances()->ChildrenOf<TAllegiance>().size();
    const TSectorImportResult r = Run(TabFile({Row("0101", "Alder", "A788899-C", "", "", "", "123", "Qx")}));
    EXPECT_TRUE(r.Lines.empty());
    EXPECT_EQ(Star(0).Allegiance, "Qx");
    EXPECT_EQ(u->Allegiances()->ChildrenOf<TAllegiance>().size(), before);
}

TEST_F(T5, AddedAllegiancesGetDistinctColoursAndNoFillAndTheOthersStayAsTheyWere) {
    TAllegiance* kept = u->FindAllegiance("Corvane Compact");
    kept->Color = 0;
    kept->Style = bsSolid;
    std::vector<std::vector<std::string>> rows;
    const char* codes[] = {"Aa", "Bb", "Cc", "Dd", "Ee", "Cv"};
    for (std::size_t i = 0; i < std::size(codes); ++i)
        rows.push_back(Row("010" + std::to_string(i + 1), "World" + std::to_string(i), "A788899-C", "", "", "", "123",
                           codes[i]));
    ASSERT_TRUE(Run(TabFile(rows)).Ok());
    std::set<std::int32_t> colours;
    for (const char* code : {"Aa", "Bb", "Cc", "Dd", "Ee"}) {
        const TAllegiance* added = u->FindAllegiance(code);
        ASSERT_NE(added, nullptr) << code;
        EXPECT_EQ(added->Style, bsClear) << code;
        EXPECT_NE(added->Color, 0) << code;
        colours.insert(added->Color);
    }
    EXPECT_EQ(colours.size(), 5u);
    EXPECT_EQ(kept->Color, 0);
    EXPECT_EQ(kept->Style, bsSolid);
}

TEST_F(T5, UnknownColumnsAndRemarksComeBackByteForByte) {
    const std::vector<std::string> header = {"Hex", "Name", "UWP", "Remarks", "Comments", "PBG", "Stars", "Notes"};
    const std::string original = TabFile({{"0101", "Alder", "A788899-C", "Ri  Cp", "An  old  world", "123", "G2 V", ""},
                                          {"0102", "Birch", "B574734-A", "Ag   Ni", "", "100", "", "x : y"}},
                                         header);
    ASSERT_TRUE(Run(original).Ok());
    EXPECT_EQ(Star(0).SysData, "G2 V\r\nPBG : 123\r\nRemarks : Ri  Cp\r\nComments : An  old  world");
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column}) {
        std::vector<std::string> lines;
        const std::string text = SectorFileText(*u, *target, format, lines);
        EXPECT_TRUE(lines.empty());
        auto other = TUniverse::CreateNew();
        TSector* back = testutil::AddSector(*other, "Back", 1, 1);
        back->SSName = target->SSName;
        ASSERT_TRUE(ImportSectorText(*other, "Back", text).Ok());
        ASSERT_EQ(back->Stars().size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(back->Stars()[i]->SysData, Star(i).SysData) << text;
    }
}

TEST_F(T5, ASystemMadeInTheEditorExportsWhatReadsBack) {
    TStar* star = testutil::AddStar(*target, "Made", 1, 1);
    star->SysData = "G2 V";
    star->SystemContent = scPlanetoids | scGasGiant;
    star->Starport = " ";
    star->UPC = "78 899";
    std::vector<std::string> lines;
    TT5Row row;
    ASSERT_TRUE(T5RowOfStar(*u, *target, *star, row));
    EXPECT_EQ(row[tfPBG], "011");
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column}) {
        auto other = TUniverse::CreateNew();
        TSector* back = testutil::AddSector(*other, "Back", 1, 1);
        back->SSName = target->SSName;
        const TSectorImportResult r = ImportSectorText(*other, "Back", SectorFileText(*u, *target, format, lines));
        EXPECT_TRUE(r.Lines.empty());
        ASSERT_EQ(back->Stars().size(), 1u);
        EXPECT_EQ(back->Stars()[0]->SystemContent, scPlanetoids | scGasGiant);
        EXPECT_EQ(back->Stars()[0]->UPC, "78?899");
    }
}

TEST_F(T5, ControlCharactersInNamesAreWrittenAsBlanks) {
    target->Name1 = "Tar\nget";
    TStar* star = testutil::AddStar(*target, "Ne\x01w", 1, 1);
    star->SysData = "G2 V";
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column, TSectorFormat::Classic}) {
        std::vector<std::string> lines;
        const std::string text = SectorFileText(*u, *target, format, lines);
        EXPECT_EQ(lines, std::vector<std::string>{"Ne w changed (control characters written as blanks)"});
        EXPECT_EQ(text.find('\x01'), std::string::npos);
        EXPECT_EQ(text.find("Tar\n"), std::string::npos);
        EXPECT_EQ(DetectSectorFormat(text), format);
    }
}
