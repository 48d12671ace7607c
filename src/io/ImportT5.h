#pragma once
// The records of the T5 sector formats: every row of a tab- or
// column-delimited file becomes a system record (SectorRecord.h), its fields
// taken by their column names.

#include "SectorFormat.h"
#include "SectorRecord.h"

#include <string_view>

// The records of the rows of a T5 text of the given format, with an
// "Error at Line N <reason>" message for each row refused. False with the
// reason in `refused` when the whole file is refused.
bool T5Records(std::string_view text, TSectorFormat format, std::vector<TSystemRecord>& records,
               std::vector<std::pair<std::size_t, std::string>>& messages, std::string& refused);

// The import rules of the T5 records: unknown allegiance codes are added.
inline constexpr TRecordRules kT5RecordRules{true, true};

// The SystemContent flags of a T5 bases field: each letter adds what the
// base-code table gives it, and "K" adds the Independent Naval Base.
std::int32_t T5BasesFlags(std::string_view bases);

// True when a remarks field names a capital (Cp, Cs or Cx).
bool T5RemarksNameCapital(std::string_view remarks);

// The T5 fields that are kept in SysData (no star property holds them), in
// the order they are written there.
inline constexpr TT5Field kT5SysDataFields[] = {tfRemarks, tfIx, tfEx, tfCx, tfNobility, tfW, tfRU};
