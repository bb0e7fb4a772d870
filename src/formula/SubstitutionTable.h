#pragma once
// An ordered list of name-to-value pairs applied to a text one after another, each pair replacing
// every whole occurrence of its name (ReplaceWholeName) and a pair whose value holds its own name
// being skipped (SubstituteList). The result is exactly that of the pair-by-pair application, but
// a text is not scanned once per pair: the whole occurrences of all names are found in one pass
// over the text, and after each replacement only the neighbourhood of the inserted values is
// searched again, for names whose pairs come later. A table of thousands of names therefore costs
// about as much per text as the names the text actually uses.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace korvan {

class SubstitutionTable {
 public:
  // Appends a pair and returns its index. A marked pair is one whose value stands for something
  // other than a number; Apply reports when such a pair replaced anything.
  int Add(QString name, QString value, bool marked = false);
  // Replaces pair index (its place in the order stays). An empty name makes the pair inert.
  void Set(int index, QString name, QString value, bool marked = false);
  int Size() const { return static_cast<int>(pairs_.size()); }
  const QString& Name(int index) const { return pairs_[static_cast<size_t>(index)].name; }
  const QString& Value(int index) const { return pairs_[static_cast<size_t>(index)].value; }

  // text with every pair applied in order. usedMarked, when given, is set to whether a marked pair
  // replaced at least one occurrence.
  QString Apply(QStringView text, bool* usedMarked = nullptr) const;

  // The pairs, in order, whose names have a whole occurrence in text as it is (nothing replaced).
  std::vector<int> Occurring(QStringView text) const;

 private:
  struct Pair {
    QString name;
    QString value;
    std::uint64_t hash = 0;
    bool active = false;  // non-empty name, and the value does not hold the name
    bool marked = false;
  };
  struct Scan;

  void Index(int index);
  void Unindex(int index);
  const std::vector<qsizetype>& Lengths() const;
  // Pushes onto heap every active pair after minIndex whose name is a whole occurrence starting
  // in [sFrom, sTo] and ending at or after eMin.
  void Collect(const Scan& scan, QStringView text, qsizetype sFrom, qsizetype sTo, qsizetype eMin, int minIndex,
               std::vector<int>& heap) const;

  std::vector<Pair> pairs_;
  // Pairs by the hash of their name, each list in pair order.
  std::unordered_map<std::uint64_t, std::vector<int>> byHash_;
  // Name lengths in use, with the number of pairs of each length.
  std::map<qsizetype, int> lengthCount_;
  mutable std::vector<qsizetype> lengths_;
  mutable std::vector<std::uint64_t> powers_;  // powers of the hash base up to the longest name
  mutable bool lengthsDirty_ = true;
};

}  // namespace korvan
