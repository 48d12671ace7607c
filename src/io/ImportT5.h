#pragma once
// Import of the T5 sector formats: every row of a tab- or column-delimited
// file becomes a star of one empty sector by the same steps as a line of the
// classic listing, with the fields taken by their column names.

#include "ImportSec.h"
#include "SectorFormat.h"

class TSector;

// Imports the rows of a T5 text of the given format into `sector` (a sector
// of `universe` that holds no systems). "Nothing to do." when the text has no
// row at all; otherwise the universe is marked changed, as the classic import
// does. Allegiances the rows name but the universe lacks are added, each with
// an "Allegiance <code> added" line.
TSectorImportResult ImportT5Text(TUniverse& universe, TSector& sector, std::string_view text, TSectorFormat format);

// The same for rows already read (their hexes those of `sector`): each
// reader error of `rows` is listed with the builder's, by line.
TSectorImportResult ImportT5Rows(TUniverse& universe, TSector& sector, TT5Rows rows);

// The SystemContent flags of a T5 bases field: each letter adds what the
// base-code table gives it, and "K" adds the Independent Naval Base.
std::int32_t T5BasesFlags(std::string_view bases);

// True when a remarks field names a capital (Cp, Cs or Cx).
bool T5RemarksNameCapital(std::string_view remarks);

// The T5 fields that are kept in SysData (no star property holds them), in
// the order they are written there.
inline constexpr TT5Field kT5SysDataFields[] = {tfRemarks, tfIx, tfEx, tfCx, tfNobility, tfW, tfRU};
