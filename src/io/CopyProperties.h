#pragma once
// Copies of an object's own stored properties, without its children, through
// the class's published-property table.

class TManager;

// Gives `to` (of the same class as `from`) the component name and every stored,
// writable published property of `from`. Children are not touched.
void CopyOwnProperties(const TManager& from, TManager& to);
