#include "formula/SubstitutionTable.h"

#include <algorithm>
#include <functional>

#include "formula/NameSubstitution.h"

namespace korvan {
namespace {

// Polynomial hash modulo 2^64. Collisions are possible (and can be forced); every hit is confirmed
// by comparing the characters, so a collision costs a comparison, never a wrong replacement.
constexpr std::uint64_t kBase = 0x9E3779B97F4A7C15ull;

std::uint64_t HashOf(QStringView s) {
  std::uint64_t h = 0;
  for (QChar c : s) h = h * kBase + (static_cast<std::uint64_t>(c.unicode()) + 1);
  return h;
}

enum : std::uint8_t { kMayStart = 1, kMayEnd = 2 };

}  // namespace

// Where a whole occurrence may start and end in a text, and the prefix hashes of the text.
struct SubstitutionTable::Scan {
  std::vector<std::uint64_t> prefix;
  std::vector<std::uint8_t> flags;

  void Build(QStringView text) {
    const qsizetype n = text.size();
    prefix.resize(static_cast<size_t>(n) + 1);
    flags.assign(static_cast<size_t>(n) + 1, 0);
    prefix[0] = 0;
    for (qsizetype i = 0; i < n; ++i) {
      const QChar c = text[i];
      prefix[static_cast<size_t>(i) + 1] = prefix[static_cast<size_t>(i)] * kBase + (static_cast<std::uint64_t>(c.unicode()) + 1);
      if (IsSeparatorBefore(c)) flags[static_cast<size_t>(i) + 1] |= kMayStart;
      if (IsSeparatorAfter(c)) flags[static_cast<size_t>(i)] |= kMayEnd;
    }
    flags[0] |= kMayStart;
    flags[static_cast<size_t>(n)] |= kMayEnd;
  }
};

int SubstitutionTable::Add(QString name, QString value, bool marked) {
  pairs_.emplace_back();
  const int index = static_cast<int>(pairs_.size()) - 1;
  Set(index, std::move(name), std::move(value), marked);
  return index;
}

void SubstitutionTable::Set(int index, QString name, QString value, bool marked) {
  Pair& p = pairs_[static_cast<size_t>(index)];
  if (p.active && p.name == name && p.value == value && p.marked == marked) return;
  Unindex(index);
  p.name = std::move(name);
  p.value = std::move(value);
  p.marked = marked;
  p.active = !p.name.isEmpty() && FindWholeName(p.value, p.name) == 0;
  Index(index);
}

void SubstitutionTable::Index(int index) {
  Pair& p = pairs_[static_cast<size_t>(index)];
  if (!p.active) return;
  p.hash = HashOf(p.name);
  std::vector<int>& list = byHash_[p.hash];
  list.insert(std::upper_bound(list.begin(), list.end(), index), index);
  if (lengthCount_[p.name.size()]++ == 0) lengthsDirty_ = true;
}

void SubstitutionTable::Unindex(int index) {
  Pair& p = pairs_[static_cast<size_t>(index)];
  if (!p.active) return;
  auto it = byHash_.find(p.hash);
  if (it != byHash_.end()) {
    std::vector<int>& list = it->second;
    auto at = std::lower_bound(list.begin(), list.end(), index);
    if (at != list.end() && *at == index) list.erase(at);
    if (list.empty()) byHash_.erase(it);
  }
  auto lc = lengthCount_.find(p.name.size());
  if (lc != lengthCount_.end() && --lc->second == 0) {
    lengthCount_.erase(lc);
    lengthsDirty_ = true;
  }
  p.active = false;
}

const std::vector<qsizetype>& SubstitutionTable::Lengths() const {
  if (lengthsDirty_) {
    lengths_.clear();
    for (const auto& [length, count] : lengthCount_) lengths_.push_back(length);
    const size_t longest = lengths_.empty() ? 0 : static_cast<size_t>(lengths_.back());
    if (powers_.empty()) powers_.push_back(1);
    while (powers_.size() <= longest) powers_.push_back(powers_.back() * kBase);
    lengthsDirty_ = false;
  }
  return lengths_;
}

void SubstitutionTable::Collect(const Scan& scan, QStringView text, qsizetype sFrom, qsizetype sTo, qsizetype eMin,
                                int minIndex, std::vector<int>& heap) const {
  const std::vector<qsizetype>& lengths = Lengths();
  const qsizetype n = text.size();
  sFrom = std::max<qsizetype>(sFrom, 0);
  sTo = std::min(sTo, n);
  for (qsizetype s = sFrom; s <= sTo; ++s) {
    if (!(scan.flags[static_cast<size_t>(s)] & kMayStart)) continue;
    for (const qsizetype len : lengths) {
      const qsizetype e = s + len;
      if (e > n) break;
      if (e < eMin || !(scan.flags[static_cast<size_t>(e)] & kMayEnd)) continue;
      const std::uint64_t h =
          scan.prefix[static_cast<size_t>(e)] - scan.prefix[static_cast<size_t>(s)] * powers_[static_cast<size_t>(len)];
      const auto it = byHash_.find(h);
      if (it == byHash_.end()) continue;
      const QStringView piece = text.mid(s, len);
      for (auto at = std::upper_bound(it->second.begin(), it->second.end(), minIndex); at != it->second.end(); ++at) {
        const Pair& p = pairs_[static_cast<size_t>(*at)];
        if (p.name.size() != len || piece != p.name) continue;
        heap.push_back(*at);
        std::push_heap(heap.begin(), heap.end(), std::greater<>());
      }
    }
  }
}

QString SubstitutionTable::Apply(QStringView input, bool* usedMarked) const {
  if (usedMarked) *usedMarked = false;
  QString text = input.toString();
  if (byHash_.empty() || text.isEmpty()) return text;

  Scan scan;
  scan.Build(text);
  std::vector<int> heap;
  Collect(scan, text, 0, text.size(), 0, -1, heap);

  const qsizetype longest = Lengths().back();
  std::vector<TextRange> inserted;
  int last = -1;
  while (!heap.empty()) {
    std::pop_heap(heap.begin(), heap.end(), std::greater<>());
    const int j = heap.back();
    heap.pop_back();
    if (j <= last) continue;  // the same pair found at several places
    last = j;
    const Pair& p = pairs_[static_cast<size_t>(j)];
    inserted.clear();
    QString next = ReplaceWholeName(text, p.name, p.value, &inserted);
    if (inserted.empty()) continue;  // its occurrence was consumed by an earlier pair
    text = std::move(next);
    if (p.marked && usedMarked) *usedMarked = true;
    // Every whole occurrence that did not exist before touches an inserted value: it overlaps one
    // or has one right beside it. Occurrences away from the values are unchanged and their pairs
    // are on the heap already.
    scan.Build(text);
    for (size_t r = 0; r < inserted.size();) {
      const qsizetype eMin = inserted[r].begin;
      qsizetype sFrom = inserted[r].begin - longest;
      qsizetype sTo = inserted[r].end;
      // Neighbouring values share one window.
      for (++r; r < inserted.size() && inserted[r].begin - longest <= sTo; ++r) sTo = inserted[r].end;
      Collect(scan, text, sFrom, sTo, eMin, j, heap);
    }
  }
  return text;
}

std::vector<int> SubstitutionTable::Occurring(QStringView text) const {
  std::vector<int> found;
  if (byHash_.empty() || text.isEmpty()) return found;
  Scan scan;
  scan.Build(text);
  Collect(scan, text, 0, text.size(), 0, -1, found);
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

}  // namespace korvan
