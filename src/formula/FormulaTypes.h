#pragma once
// Records shared by the formula table, the naming rules and the exchange with the estimate program.

#include <QString>

#include <cstdint>
#include <vector>

namespace korvan {

// A name with its text: an entry of the estimate program's list, or one name-to-replacement pair
// of a substitution list (Vid 0 and no scheme name there).
struct stFormula {
  std::uint8_t Vid = 0;  // estimate entries of kind 0 reserve their name against every scheme
  QString ShemaName;
  QString Name;
  QString Value;
  friend bool operator==(const stFormula&, const stFormula&) = default;
};

using FormulaList = std::vector<stFormula>;

// The name a formula row had when its editor was opened: the old name of a rename.
struct stOldNameFormula {
  QString Name;
  int Row = -1;  // index into the formula rows (0 is the first row below the header); -1 none
};

// What the editor knows of the estimate program that started it. Without an exchange path the
// lists stay empty and no name is checked against the other schemes of the folder.
struct EstimateLink {
  QString SmetaFileArg;       // exchange file path from the command line; blank when not linked
  QString SmetaNormaFormula;  // the estimate program's own formula text, handed back on every save
  FormulaList SmetaFormulas;  // the estimate program's entries, in file order

  bool Linked() const { return !SmetaFileArg.trimmed().isEmpty(); }
};

}  // namespace korvan
