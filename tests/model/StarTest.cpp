#include "DefineUniverse.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TStar> StarWith(const std::string& upc) {
    auto s = std::make_unique<TStar>();
    s->UPC = upc;
    return s;
}

}  // namespace

TEST(StarCodes, IndexesDecodeEveryListedCharacterAndFallBackOtherwise) {
    TStar s;
    s.UPC = "0A0000";
    EXPECT_EQ(s.PSIndex(), 0);
    EXPECT_EQ(s.AtIndex(), 10);
    s.UPC = "R" "E" "9" "9" "C" "9";
    EXPECT_EQ(s.PSIndex(), 1);
    EXPECT_EQ(s.AtIndex(), 14);
    EXPECT_EQ(s.HydroIndex(), 9);
    EXPECT_EQ(s.PopIndex(), 9);
    EXPECT_EQ(s.GovIndex(), 12);
    EXPECT_EQ(s.LLIndex(), 9);
    s.UPC = "SFAAD?";
    EXPECT_EQ(s.PSIndex(), 2);
    EXPECT_EQ(s.AtIndex(), 15);
    EXPECT_EQ(s.HydroIndex(), 10);
    EXPECT_EQ(s.PopIndex(), 10);
    EXPECT_EQ(s.GovIndex(), 13);
    EXPECT_EQ(s.LLIndex(), 10);
    s.UPC = "9";
    EXPECT_EQ(s.PSIndex(), 11);
    s.UPC = "1";
    EXPECT_EQ(s.PSIndex(), 3);
    s.UPC = "a";  // lower case is not listed
    EXPECT_EQ(s.PSIndex(), 12);

    // Short strings: missing characters decode as unlisted ones.
    s.UPC = "";
    EXPECT_EQ(s.PSIndex(), 12);
    EXPECT_EQ(s.LLIndex(), 10);
    EXPECT_EQ(s.PSUPCCode(), '\0');

    for (auto [port, index] : {std::pair{"A", 0}, {"E", 4}, {"X", 5}, {"U", 5}, {"", 5}, {"1", 5}}) {
        s.Starport = port;
        EXPECT_EQ(s.SPIndex(), index) << port;
    }
    for (auto [port, index] : {std::pair{"F", 0}, {"G", 1}, {"H", 2}, {"Y", 3}, {"U", 3}, {"", 3}}) {
        s.Spaceport = port;
        EXPECT_EQ(s.SpPIndex(), index) << port;
    }
    for (auto [tl, index] : {std::pair{"0", 0}, {"9", 9}, {"A", 10}, {"F", 15}, {"G", 16}, {"U", 16}, {"", 16}}) {
        s.SetTechLevel(tl);
        EXPECT_EQ(s.TLIndex(), index) << tl;
    }
}

TEST(StarCodes, IndexToCodeFunctions) {
    EXPECT_EQ(HexCodeText(0), "0");
    EXPECT_EQ(HexCodeText(15), "F");
    EXPECT_EQ(HexCodeText(16), "G");
    EXPECT_EQ(HexCodeText(17), "G");
    EXPECT_EQ(HexCodeText(-1), "G");
    EXPECT_EQ(StarportCodeText(0), "A");
    EXPECT_EQ(StarportCodeText(5), "X");
    EXPECT_EQ(StarportCodeText(9), "X");
    EXPECT_EQ(SpaceportCodeText(2), "H");
    EXPECT_EQ(SpaceportCodeText(3), "Y");
    EXPECT_EQ(SpaceportCodeText(-4), "Y");
    EXPECT_EQ(SizeCodeText(1), "R");
    EXPECT_EQ(SizeCodeText(2), "S");
    EXPECT_EQ(SizeCodeText(3), "1");
    EXPECT_EQ(SizeCodeText(12), "A");
    EXPECT_EQ(SizeCodeText(13), "A");
    // Decoding an encoded size gives the index back.
    for (int i = 0; i <= 12; ++i) EXPECT_EQ(StarWith(SizeCodeText(i) + "00000")->PSIndex(), i);
}

TEST(StarCodes, TradeCodes) {
    EXPECT_EQ(StarWith("000000")->TradeCodesStr(), "NI V AB ");
    EXPECT_EQ(StarWith("788899")->TradeCodesStr(), "Rich ");
    EXPECT_EQ(StarWith("574734")->TradeCodesStr(), "Agr ");
    EXPECT_EQ(StarWith("200A00")->TradeCodesStr(), "NAg Ind V ");
    EXPECT_EQ(StarWith("8A9A9C")->TradeCodesStr(), "");
    // Sizes R and S count as 1: never AB.
    EXPECT_EQ(StarWith("R00000")->TradeCodesStr(), "NI V ");
    EXPECT_EQ(StarWith("S00000")->TradeCodesStr(), "NI V ");
    // Atmosphere A and above counts as 10.
    EXPECT_EQ(StarWith("8A5600")->TradeCodesStr(), "NI ");
    EXPECT_EQ(StarWith("8B2900")->TradeCodesStr(), "");
    // Hydrographics A gives W; hydrographics 0 with atmosphere 0 or 1 is neither D nor IC.
    EXPECT_EQ(StarWith("85A500")->TradeCodesStr(), "NI W ");
    EXPECT_EQ(StarWith("810700")->TradeCodesStr(), "NAg ");
    EXPECT_EQ(StarWith("811700")->TradeCodesStr(), "NAg IC ");
    EXPECT_EQ(StarWith("830700")->TradeCodesStr(), "NAg Poor D ");
    // Missing characters count as "other" (size 1, the rest 10).
    EXPECT_EQ(StarWith("")->TradeCodesStr(), "W ");
    EXPECT_EQ(StarWith("05")->TradeCodesStr(), "AB W ");
}

TEST(StarCodes, AlternateTechLevels) {
    auto u = TUniverse::CreateNew();
    TSector* sec = testutil::AddSector(*u, "Home", 1, 1);
    TStar* s = testutil::AddStar(*sec, "Alpha", 1, 1);
    s->SetTechLevel("U");
    u->TLAltValue[16] = 7;
    u->TLAltValue[12] = 20;
    EXPECT_EQ(s->TLIndex(), 16);
    EXPECT_EQ(s->TechLevel(), "U");
    u->UseAltTL = true;
    EXPECT_EQ(s->TLIndex(), 7);
    EXPECT_EQ(s->TechLevel(), "7");
    s->SetTechLevel("C");
    EXPECT_EQ(s->TLIndex(), 20);
    EXPECT_EQ(s->TechLevel(), "G");  // beyond 16
    u->TLAltValue[12] = -2;
    EXPECT_EQ(s->TechLevel(), "G");
    EXPECT_EQ(s->StoredTechLevel(), "C");
}

TEST(StarCodes, SectorNameAndContents) {
    auto u = TUniverse::CreateNew();
    TSector* sec = testutil::AddSector(*u, "Home", 4, 5);
    TStar* s = testutil::AddStar(*sec, "Alpha", 1, 1);
    EXPECT_EQ(s->SectorName(), "Home");
    EXPECT_EQ(s->SectorCoordsX(), 4);
    EXPECT_EQ(s->SectorCoordsY(), 5);
    s->SetSectorName("Elsewhere");
    EXPECT_EQ(s->SectorName(), "Elsewhere");
    TStar loose;
    EXPECT_EQ(loose.SectorName(), "");
    EXPECT_EQ(loose.SectorCoordsX(), 0);
    EXPECT_EQ(loose.SubSectorCoordsX(), 0);
    EXPECT_STREQ(TravelZoneText(tzcAmber), "Amber");
    EXPECT_STREQ(TravelZoneText(tzcUnknown), "Unknown");
}
