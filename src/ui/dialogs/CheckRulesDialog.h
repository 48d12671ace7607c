#pragma once
// "Check Against Rules": chooses the rule set and the part of the map (all
// sectors or one) that the window checks; the systems found are listed in
// the "Errors/Messages" window.

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class TSector;
class TUniverse;

namespace hexlane::rules {
enum class TRuleSet;
}

namespace hexlane::ui {

class TfCheckRules : public QDialog {
    Q_OBJECT
public:
    explicit TfCheckRules(QWidget* parent = nullptr);

    // Lists the universe's sectors ("(all sectors)" first, chosen).
    void Load(const TUniverse& universe);
    // Load, then the modal dialog: true for OK.
    bool Execute(const TUniverse& universe);

    rules::TRuleSet RuleSet() const;
    // The sector chosen, or null for all sectors.
    const TSector* Sector() const;
    // The lines for the "Errors/Messages" window: one per broken rule, in map order.
    std::vector<std::string> Check(const TUniverse& universe) const;

private:
    std::vector<const TSector*> sectors_;
    QComboBox* rules_;
    QComboBox* sector_;
};

}  // namespace hexlane::ui
