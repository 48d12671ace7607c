#include "CopyProperties.h"

#include "Manager.h"
#include "Properties.h"

void CopyOwnProperties(const TManager& from, TManager& to) {
    to.Name = from.Name;
    for (const PropInfo& p : from.Class().Props) {
        if (!p.Stored || !p.Writable()) continue;
        if (p.IsOrdinal()) {
            if (p.GetOrd && p.SetOrd) p.SetOrd(to, p.GetOrd(from));
        } else if (p.Kind == PropKind::Double) {
            if (p.GetDouble && p.SetDouble) p.SetDouble(to, p.GetDouble(from));
        } else if (p.GetString && p.SetString) {
            p.SetString(to, p.GetString(from));
        }
    }
}
