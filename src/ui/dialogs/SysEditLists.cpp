#include "SysEditLists.h"

#include "DefineStar.h"

namespace hexlane::ui {

const char* const kSizes[13] = {
    "0 - Asteroid/Planetoid Belt",
    "R - Ring World",
    "S - < 1000 mi Diameter Small World",
    "1 - 1000 mi Diameter",
    "2 - 2000 mi Diameter",
    "3 - 3000 mi Diameter",
    "4 - 4000 mi Diameter",
    "5 - 5000 mi Diameter",
    "6 - 6000 mi Diameter",
    "7 - 7000 mi Diameter",
    "8 - 8000 mi Diameter",
    "9 - 9000 mi Diameter",
    "A - 10000 mi Diameter",
};

const char* const kAtmospheres[16] = {
    "0- No Atmosphere",
    "1- Trace",
    "2- Very Thin, Tainted",
    "3- Very Thin",
    "4- Thin, Tainted",
    "5- Thin",
    "6- Standard",
    "7- Standard, Tainted",
    "8- Dense",
    "9- Dense, Tainted",
    "A- Exotic",
    "B- Corrosive",
    "C- Insidious",
    "D- Dense, High",
    "E- Ellipsoid",
    "F- Thin, Low",
};

const char* const kHydrographics[11] = {
    "0 - No free standing water",
    "1 - 10% water",
    "2 - 20% water",
    "3 - 30% water",
    "4 - 40% water",
    "5 - 50% water",
    "6 - 60% water",
    "7 - 70% water",
    "8 - 80% water",
    "9 - 90% water",
    "A - No Large Land Masses",
};

const char* const kPopulations[11] = {
    "0 - No Inhabitants",
    "1 - Tens Inhabitants",
    "2 - Hundreds Inhabitants",
    "3 - Thousands Inhabitants",
    "4 - Tens of Thousands Inhabitants",
    "5 - Hundreds of Thousands Inhabitants",
    "6 - Millions Inhabitants",
    "7 - Tens of Millions Inhabitants",
    "8 - Hundreds of Millions Inhabitants",
    "9- Billions Inhabitants",
    "A - Tens of Billions Inhabitants",
};

const char* const kGovernments[14] = {
    "0 - No Government Structure. In Many Case, family bonds predominate.",
    "1 - Company/Corporation. Government by a company managerial elite; citizens are company employees.",
    "2 - Participating Democracy. Gov by advice and consent of the citizen.",
    "3 - Self-Perpetuating Oligarchy.  Rule by a restricted minority, with little or no input from the masses.",
    "4 - Representative Democracy.  Rule by elected representatives.",
    "5 - Feudal Technocracy.  Gov by specific individuals with consent of all.  Relations based on mutually beneficial tech activities.",
    "6 - Captive Government.  Gov by a leadership answerable to an outside group;  a colony or conquered area.",
    "7 - Balkanization.  No central ruling authority exists; rival governments compete for control.",
    "8 - Civil Service Bureaucracy.  Gov by agencies employing individuals selected for their expertise.",
    "9 - Impersonal Bureaucracy.  Gov by agencies which are insulated from the governed.",
    "A - Charismatic Dictator.  Gov by a single leader enjoying the confidence of the citizens.",
    "B - Non-Charismatic Leader.  A previous charismatic dictator has been replaced by a leader through normal channels.",
    "C - Charismatic Oligarchy.  Gov by a select group, organization, or class enjoying the overwhelming confidence of the citizenry.",
    "D - Religious Dictatorship.  Gov by a religious organization without regard to the needs of the citizenry.",
};

const char* const kLawLevels[11] = {
    "0 - No Prohibitions",
    "1 - Body Pistols undetactable by standard detectors, explosives (bombs, grenades), and poison gas prohibited.",
    "2 - Portable energy weapons (laser carbine, laser rife) prohibited.  Ship based gunnery not affected.",
    "3 - Weapons of strict military nature (machine guns, automatic rifles) prohibited.",
    "4 - Light assault weapons (sub-machineguns) prohibited.",
    "5 - Personal concealable firearms (pistols, revolvers) prohibited.",
    "6 - Most firearms (all except shotguns) prohibited.  The carrying of any type of weapon openly is discouraged.",
    "7 - Shotguns are prohibited.",
    "8 - Long Bladed Weapons (all but daggers) are controlled, and open possession is prohibited.",
    "9 - Possession of any weapon outside personal residence is prohibited.",
    "A - Weapon possession is prohibited.",
};

const char* const kTechLevels[17] = {
    "0 - Stone Age. Primitive",
    "1 - Bronze Age to Middle Ages.",
    "2 - circa 1400 - 1700",
    "3 - circa 1700 - 1860",
    "4 - circa 1860 - 1900",
    "5 - circa 1900 - 1939",
    "6 - circa 1940 - 1969",
    "7 - circa 1970 - 1999",
    "8 - circa 2000 - 2029",
    "9 - circa 2030 - 2059",
    "A - Interstellar community",
    "B - Average Imperial",
    "C - Average Imperial",
    "D - Above Average Imperial",
    "E - Above Average Imperial",
    "F - Technical maximum Imperial",
    "G - Occasional non-Imperial",
};

const char* const kStarports[6] = {
    "A - Excellent quality with refined fuel, overhaul, shipyards",
    "B - Good quality with refined fuel, overhaul, shipyards for non-starships.",
    "C - Routine quality with unrefined fuel, some repair facilities.",
    "D - Poor quality with unrefined fuel; no repair facilities.",
    "E - Frontier installation; no facilities.",
    "X - No starport.  Generally a red travel zone",
};

const char* const kSpaceports[4] = {
    "F - Good Quality with unrefined fuel, minor repair facilities.",
    "G - Poor quality with unrefined fuel; no repair facilities.",
    "H - Primitive installation.  No facilities.",
    "Y - No Space Port",
};

const ContentBox kContents[18] = {
    {"Imperial Naval Base", "rImperialNavalBase", scNavalBase},
    {"Imperial Naval Depot", "rImperialNavalDepot", scNavalDepot},
    {"Imperial Scout Base", "rImperialScoutBase", scScoutBase},
    {"Imperial Scout Way Station", "rImperialScoutWayStation", scScoutWayStation},
    {"Research Station", "rResearchStation", scResearchStation},
    {"Prison", "rPrison", scPrison},
    {"Gas Giants", "rGasGiants", scGasGiant},
    {"Asteroid Belts", "rAsteroidBelts", scPlanetoids},
    {"Interface", "rInterface", scInterface},
    {"Vargr Corsair Base", "rVargrCorsairBase", scCorsairBase},
    {"Independent Military Base", "rIndependentMilitaryBase", scMilitaryBase},
    {"Independent Naval Base", "rIndependentNavalBase", scPlanetaryNavalBase},
    {"Droyne Naval Base", "rDroyneNavalBase", scDroyneNavalBase},
    {"Aslan Clan Naval Base", "rAslanClanNavalBase", scClanNavalBase},
    {"Aslan Tlaukhu Naval Base", "rAslanTlaukhuNavalBase", scTlaukhuNavalBase},
    {"Zhodani Naval Base", "rZhodaniNavalBase", scZhodaniNavalBase},
    {"Vargr Naval Base", "rVargrNavalBase", scVargrNavalBase},
    {"Ancient Site", "rAncientSite", scAncientSite},
};

}  // namespace hexlane::ui
