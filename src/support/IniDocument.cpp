#include "support/IniDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "support/Cp1251.h"

namespace korvan {
namespace {

// Arena offsets are 32-bit to keep line records small; a larger input is cut to this size (a 2 GB
// "INI file" is not something any caller can mean) and SetValue refuses to grow past it.
constexpr qsizetype kMaxText = std::numeric_limits<int32_t>::max() - 16;

// Compaction of replaced texts starts only past this much garbage, so small documents never pay.
constexpr qsizetype kCompactThreshold = qsizetype(1) << 20;

inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Letter case as Windows folds it over the code page: ASCII, Cyrillic, and the Slavic letters of
// 0x0401..0x040F (all but U+040D, which the code page lacks), plus Ґ. Every other character —
// including the ones the code page cannot hold — stands for itself, matching cp1251::ToLower.
constexpr char16_t Fold(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  if (c >= 0x0410 && c <= 0x042F) return char16_t(c + 0x20);
  if (c >= 0x0401 && c <= 0x040F && c != 0x040D) return char16_t(c + 0x50);
  if (c == 0x0490) return 0x0491;
  return c;
}

// Folded character of every file byte, so the parser hashes keys without decoding them first.
struct ByteFoldTable {
  std::array<char16_t, 256> folded{};
  ByteFoldTable() {
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
    const QString text = cp1251::Decode(all);
    for (int b = 0; b < 256; ++b) folded[b] = Fold(text[b].unicode());
  }
};

const ByteFoldTable& ByteFold() {
  static const ByteFoldTable table;
  return table;
}

// FNV-1a over folded UTF-16 units; the same value whether the name comes from bytes or a QString.
constexpr uint32_t kHashSeed = 2166136261u;
inline uint32_t HashStep(uint32_t h, char16_t folded) {
  h ^= folded;
  return h * 16777619u;
}

uint32_t HashFolded(QStringView s) {
  uint32_t h = kHashSeed;
  for (QChar c : s) h = HashStep(h, Fold(c.unicode()));
  return h;
}

bool FoldEqual(const QChar* a, QStringView b) {
  for (qsizetype i = 0; i < b.size(); ++i)
    if (Fold(a[i].unicode()) != Fold(b[i].unicode())) return false;
  return true;
}

QStringView TrimBlanks(QStringView s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b].unicode())) ++b;
  while (e > b && IsBlank(s[e - 1].unicode())) --e;
  return s.sliced(b, e - b);
}

bool HasLineBreak(QStringView s) {
  for (QChar c : s)
    if (c == u'\r' || c == u'\n') return true;
  return false;
}

}  // namespace

struct IniDocument::Data {
  // One line of the file inside a section (or before the first one), as a span of the arena.
  // eq is one past the "=" relative to off, or 0 for a line that is not a key (comment, no "=",
  // empty key): such a line is written back as it is and never found. The key and value spans are
  // found again by trimming when needed, which keeps the record at 16 bytes: a 6 MB file has
  // 400,000 lines, and fresh memory is what a parse pays most for.
  struct Line {
    uint32_t off = 0;
    uint32_t len = 0;
    uint32_t eq = 0;
    uint32_t keyHash = 0;
  };

  struct Section {
    uint32_t off = 0;  // the header line as read (or as written by SetValue)
    uint32_t len = 0;
    uint32_t nameBegin = 0;
    uint32_t nameLen = 0;
    uint32_t nameHash = 0;
    // Parsed lines are lines[first, first + count); lines added later to a section that is not
    // last would break that range, so they go to extra.
    int32_t first = 0;
    int32_t count = 0;
    std::vector<Line> extra;
  };

  // Every text of the document: the decoded file followed by the texts SetValue wrote. Replaced
  // texts stay behind as garbage (dead) until a compaction.
  QString arena;
  qsizetype dead = 0;
  std::vector<Line> lines;
  int32_t preambleCount = 0;  // lines[0, preambleCount) stand before the first section
  std::vector<Section> sections;
  // Open addressing from folded name hash to the first section of that name; -1 is empty.
  std::vector<int32_t> index;
  int32_t indexed = 0;

  QStringView Text(qsizetype off, qsizetype len) const { return QStringView(arena).sliced(off, len); }
  QStringView Name(const Section& s) const { return Text(s.off + s.nameBegin, s.nameLen); }
  QStringView Key(const Line& l) const {
    return TrimBlanks(Text(l.off, l.eq - 1));
  }
  QStringView RawValue(const Line& l) const {
    return TrimBlanks(Text(l.off + l.eq, l.len - l.eq));
  }

  template <typename F>
  void ForEachLine(const Section& s, F&& f) const {
    for (int32_t i = 0; i < s.count; ++i) f(lines[s.first + i]);
    for (const Line& l : s.extra) f(l);
  }

  void RebuildIndex() {
    size_t size = 16;
    while (size < sections.size() * 2) size *= 2;
    index.assign(size, -1);
    indexed = 0;
    for (int32_t i = 0; i < int32_t(sections.size()); ++i) IndexInsert(i);
  }

  // Later sections of an existing name are not indexed: the first one wins for every lookup.
  void IndexInsert(int32_t i) {
    if (size_t(indexed + 1) * 2 > index.size()) {
      RebuildIndex();  // reinserts every section up to the last, i included
      return;
    }
    const Section& s = sections[i];
    const size_t mask = index.size() - 1;
    for (size_t slot = s.nameHash & mask;; slot = (slot + 1) & mask) {
      const int32_t other = index[slot];
      if (other < 0) {
        index[slot] = i;
        ++indexed;
        return;
      }
      const Section& o = sections[other];
      if (o.nameHash == s.nameHash && o.nameLen == s.nameLen &&
          FoldEqual(Name(o).data(), Name(s)))
        return;
    }
  }

  int32_t FindSection(QStringView name) const {
    if (sections.empty()) return -1;
    const uint32_t h = HashFolded(name);
    const size_t mask = index.size() - 1;
    for (size_t slot = h & mask;; slot = (slot + 1) & mask) {
      const int32_t i = index[slot];
      if (i < 0) return -1;
      const Section& s = sections[i];
      if (s.nameHash == h && s.nameLen == name.size() && FoldEqual(Name(s).data(), name)) return i;
    }
  }

  template <typename SectionT, typename LineT>
  static LineT* FindKeyIn(const Data& d, SectionT& s, LineT* base, QStringView key, uint32_t h) {
    // The hash rejects nearly every other key before a character is compared.
    auto matches = [&](const Line& l) {
      if (l.keyHash != h || l.eq == 0) return false;
      const QStringView k = d.Key(l);
      return k.size() == key.size() && FoldEqual(k.data(), key);
    };
    for (int32_t i = 0; i < s.count; ++i)
      if (matches(base[s.first + i])) return &base[s.first + i];
    for (auto& l : s.extra)
      if (matches(l)) return &l;
    return nullptr;
  }

  const Line* FindKey(QStringView section, QStringView key) const {
    const int32_t si = FindSection(TrimBlanks(section));
    if (si < 0) return nullptr;
    const QStringView k = TrimBlanks(key);
    if (k.isEmpty()) return nullptr;
    return FindKeyIn(*this, sections[si], lines.data(), k, HashFolded(k));
  }

  // Room for n more characters, reclaiming garbage first when the offsets would overflow.
  bool MakeRoom(qsizetype n) {
    if (n > kMaxText) return false;
    if (arena.size() + n <= kMaxText) return true;
    Compact();
    return arena.size() + n <= kMaxText;
  }

  // Appends "key=value" to the arena as the parser would have read it; the caller made room.
  Line AppendKeyLine(QStringView keyText, QStringView value) {
    Line l;
    l.off = uint32_t(arena.size());
    arena.reserve(arena.size() + keyText.size() + 1 + value.size());
    arena.append(keyText);
    arena.append(u'=');
    arena.append(value);
    l.len = uint32_t(arena.size() - l.off);
    l.eq = uint32_t(keyText.size() + 1);
    l.keyHash = HashFolded(keyText);
    return l;
  }

  // Rewrites the arena with only the live texts, each followed by CR LF and every section by one
  // more, so that serialisation copies it in long runs.
  void Compact() {
    qsizetype live = 0;
    auto measure = [&](const Line& l) { live += l.len + 2; };
    for (int32_t i = 0; i < preambleCount; ++i) measure(lines[i]);
    for (const Section& s : sections) {
      live += s.len + 4;
      ForEachLine(s, measure);
    }
    QString fresh;
    fresh.reserve(live);
    auto relocate = [&](uint32_t& off, uint32_t len) {
      const qsizetype at = fresh.size();
      fresh.append(Text(off, len));
      fresh.append(u"\r\n");
      off = uint32_t(at);
    };
    for (int32_t i = 0; i < preambleCount; ++i) relocate(lines[i].off, lines[i].len);
    for (Section& s : sections) {
      relocate(s.off, s.len);
      for (int32_t i = 0; i < s.count; ++i)
        relocate(lines[s.first + i].off, lines[s.first + i].len);
      for (Line& l : s.extra) relocate(l.off, l.len);
      fresh.append(u"\r\n");
    }
    arena = std::move(fresh);
    dead = 0;
  }

  void NoteDead(qsizetype chars) {
    dead += chars;
    if (dead > kCompactThreshold && dead > arena.size() / 2) Compact();
  }

  void Reset() {
    arena.clear();
    dead = 0;
    lines.clear();
    sections.clear();
    preambleCount = 0;
  }

  // Reads the structure from the file bytes; offsets are those of the arena the bytes decode to.
  void Scan(const char* p, qsizetype n);

  // Writes the document in the profile layout to sink (Text encodes an arena span, Raw appends
  // bytes). Texts that already stand in the arena followed by CR LF, one after another, go out
  // as one span: a file that was in the layout already is copied in a few large pieces.
  template <typename Sink>
  void Emit(Sink& sink) const;
};

namespace {

// Byte counters that cannot overflow within a block let the compiler compare 16 or 32 bytes at a
// time; std::count widens every lane to 64 bits and runs at a third of the speed.
size_t CountNewlines(const char* p, qsizetype n) {
  size_t total = 0;
  while (n > 0) {
    const qsizetype m = std::min<qsizetype>(n, 255);
    uint8_t count = 0;
    for (qsizetype i = 0; i < m; ++i) count = uint8_t(count + (p[i] == '\n'));
    total += count;
    p += m;
    n -= m;
  }
  return total;
}

}  // namespace

// Every byte is one UTF-16 unit in the arena, so offsets found in the bytes hold there too; the
// structure is read from the bytes with memchr, and decoding is a separate tight loop.
void IniDocument::Data::Scan(const char* p, qsizetype n) {
  const auto& fold = ByteFold().folded;
  // One record per line, reserved exactly: growing a vector of 400,000 records copies and
  // touches far more memory than counting the line ends does.
  lines.reserve(CountNewlines(p, n) + 1);
  Section* current = nullptr;

  qsizetype pos = 0;
  while (pos < n) {
    const char* nl = static_cast<const char*>(std::memchr(p + pos, '\n', size_t(n - pos)));
    const qsizetype next = nl ? (nl - p) + 1 : n;
    qsizetype end = nl ? (nl - p) : n;
    if (end > pos && p[end - 1] == '\r') --end;
    const qsizetype lineStart = pos;
    pos = next;

    qsizetype b = lineStart, e = end;
    while (b < e && (p[b] == ' ' || p[b] == '\t')) ++b;
    while (e > b && (p[e - 1] == ' ' || p[e - 1] == '\t')) --e;
    if (b == e) continue;  // blank lines carry nothing; the writer makes its own

    if (p[b] == '[') {
      if (current) current->count = int32_t(lines.size()) - current->first;
      Section& s = sections.emplace_back();
      s.off = uint32_t(lineStart);
      s.len = uint32_t(end - lineStart);
      qsizetype nb = b + 1, ne = e;
      for (qsizetype i = e; i > nb; --i)
        if (p[i - 1] == ']') {
          ne = i - 1;
          break;
        }
      while (nb < ne && (p[nb] == ' ' || p[nb] == '\t')) ++nb;
      while (ne > nb && (p[ne - 1] == ' ' || p[ne - 1] == '\t')) --ne;
      s.nameBegin = uint32_t(nb - lineStart);
      s.nameLen = uint32_t(ne - nb);
      uint32_t h = kHashSeed;
      for (qsizetype i = nb; i < ne; ++i) h = HashStep(h, fold[static_cast<unsigned char>(p[i])]);
      s.nameHash = h;
      s.first = int32_t(lines.size());
      current = &s;
      continue;
    }

    Line& l = lines.emplace_back();
    l.off = uint32_t(lineStart);
    l.len = uint32_t(end - lineStart);
    if (!current) ++preambleCount;
    if (!current || p[b] == ';') continue;
    const char* eq = static_cast<const char*>(std::memchr(p + b, '=', size_t(e - b)));
    if (!eq) continue;
    qsizetype ke = eq - p;
    while (ke > b && (p[ke - 1] == ' ' || p[ke - 1] == '\t')) --ke;
    if (ke == b) continue;  // "=value" names no key
    uint32_t h = kHashSeed;
    for (qsizetype i = b; i < ke; ++i) h = HashStep(h, fold[static_cast<unsigned char>(p[i])]);
    l.eq = uint32_t((eq - p) + 1 - lineStart);
    l.keyHash = h;
  }
  if (current) current->count = int32_t(lines.size()) - current->first;
  RebuildIndex();
}

template <typename Sink>
void IniDocument::Data::Emit(Sink& sink) const {
  const QChar* a = arena.constData();
  const qsizetype size = arena.size();
  qsizetype runStart = -1, runEnd = -1;
  auto flush = [&] {
    if (runEnd > runStart) sink.Text(Text(runStart, runEnd - runStart));
    runStart = runEnd = -1;
  };
  auto crlfAt = [&](qsizetype at) { return at + 1 < size && a[at] == u'\r' && a[at + 1] == u'\n'; };
  auto line = [&](qsizetype off, qsizetype len) {
    const qsizetype end = off + len;
    if (crlfAt(end)) {
      if (off != runEnd) {
        flush();
        runStart = off;
      }
      runEnd = end + 2;
      return;
    }
    flush();
    sink.Text(Text(off, len));
    sink.Raw("\r\n", 2);
  };
  auto emptyLine = [&] {
    if (runEnd >= 0 && crlfAt(runEnd)) {
      runEnd += 2;
      return;
    }
    flush();
    sink.Raw("\r\n", 2);
  };

  for (int32_t i = 0; i < preambleCount; ++i) line(lines[i].off, lines[i].len);
  for (const Section& s : sections) {
    line(s.off, s.len);
    ForEachLine(s, [&](const Line& l) { line(l.off, l.len); });
    emptyLine();
  }
  flush();
}

namespace {

// Encoding of text already checked with cp1251::CanEncode, straight into a byte buffer. Most of a
// scheme is ASCII, which goes eight characters at a time; the rest is looked up in a reverse map
// derived once from the code page's own decoder.
class Encoder {
 public:
  Encoder() {
    QByteArray high(128, '\0');
    for (int b = 0; b < 128; ++b) high[b] = static_cast<char>(0x80 + b);
    const QString text = cp1251::Decode(high);
    for (int b = 0; b < 128; ++b) {
      const char16_t c = text[b].unicode();
      const auto byte = static_cast<unsigned char>(0x80 + b);
      if (c >= 0x0400 && c < 0x0460)
        cyrillic_[c - 0x0400] = byte;
      else
        other_[otherCount_++] = {c, byte};
    }
  }

  void Into(QStringView text, char* dst) const {
    const char16_t* src = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
      for (; i + 8 <= n; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, src + i, 8);
        std::memcpy(&b, src + i + 4, 8);
        if (((a | b) & 0xFF80FF80FF80FF80ull) != 0) break;
        for (int k = 0; k < 8; ++k) dst[i + k] = static_cast<char>(src[i + k]);
      }
      const qsizetype stop = std::min(n, i + 8);
      for (; i < stop; ++i) dst[i] = static_cast<char>(Byte(src[i]));
    }
  }

 private:
  unsigned char Byte(char16_t c) const {
    if (c < 0x80) return static_cast<unsigned char>(c);
    if (c >= 0x0400 && c < 0x0460) return cyrillic_[c - 0x0400];
    for (int k = 0; k < otherCount_; ++k)
      if (other_[k].first == c) return other_[k].second;
    return '?';  // unreachable: every text was checked before it entered the document
  }

  std::array<unsigned char, 0x60> cyrillic_{};
  std::array<std::pair<char16_t, unsigned char>, 128> other_{};
  int otherCount_ = 0;
};

const Encoder& Encode() {
  static const Encoder encoder;
  return encoder;
}

struct ArraySink {
  QByteArray& out;
  void Text(QStringView s) {
    const qsizetype at = out.size();
    out.resize(at + s.size());
    Encode().Into(s, out.data() + at);
  }
  void Raw(const char* bytes, qsizetype n) { out.append(bytes, n); }
};

// Streams into the file through one reused buffer, so a save never holds a second copy of a
// large document in memory.
struct FileSink {
  static constexpr qsizetype kChunk = qsizetype(1) << 18;
  QSaveFile& file;
  QByteArray buffer;
  bool ok = true;

  explicit FileSink(QSaveFile& f) : file(f) { buffer.reserve(kChunk); }
  void Text(QStringView s) {
    while (!s.isEmpty()) {
      if (buffer.size() == kChunk) Flush();
      const qsizetype piece = std::min(kChunk - buffer.size(), s.size());
      const qsizetype at = buffer.size();
      buffer.resize(at + piece);
      Encode().Into(s.first(piece), buffer.data() + at);
      s = s.sliced(piece);
    }
  }
  void Raw(const char* bytes, qsizetype n) {
    if (buffer.size() + n > kChunk) Flush();
    buffer.append(bytes, n);
  }
  void Flush() {
    if (ok && !buffer.isEmpty()) ok = file.write(buffer) == buffer.size();
    buffer.resize(0);  // keeps the capacity
  }
};

// Decodes the bytes that stand in the upper half of the arena's own buffer into the arena.
// Unit i is written to bytes [2i, 2i+2) while byte i is read from n + i; for i < n a write never
// reaches a byte still to be read, so one buffer serves as both.
void DecodeInPlace(QString& arena, qsizetype n) {
  static const std::array<char16_t, 256> table = [] {
    std::array<char16_t, 256> t{};
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
    const QString text = cp1251::Decode(all);
    for (int b = 0; b < 256; ++b) t[b] = text[b].unicode();
    return t;
  }();
  char16_t* dst = reinterpret_cast<char16_t*>(arena.data());
  const auto* src = reinterpret_cast<const unsigned char*>(dst) + n;
  // Through a small block buffer the compiler sees no overlap and can keep the loop tight.
  constexpr qsizetype kBlock = 4096;
  unsigned char block[kBlock];
  for (qsizetype at = 0; at < n; at += kBlock) {
    const qsizetype m = std::min(kBlock, n - at);
    std::memcpy(block, src + at, size_t(m));
    char16_t* out = dst + at;
    qsizetype i = 0;
    // Most of a scheme is ASCII: eight such bytes widen without a table look-up.
    for (; i + 8 <= m; i += 8) {
      uint64_t word;
      std::memcpy(&word, block + i, 8);
      if ((word & 0x8080808080808080ull) == 0) {
        for (int k = 0; k < 8; ++k) out[i + k] = block[i + k];
      } else {
        for (int k = 0; k < 8; ++k) out[i + k] = table[block[i + k]];
      }
    }
    for (; i < m; ++i) out[i] = table[block[i]];
  }
}

}  // namespace

IniDocument::IniDocument() : d_(std::make_unique<Data>()) {}
IniDocument::~IniDocument() = default;
IniDocument::IniDocument(const IniDocument& o) : d_(std::make_unique<Data>(*o.d_)) {}
IniDocument& IniDocument::operator=(const IniDocument& o) {
  if (this != &o) d_ = std::make_unique<Data>(*o.d_);
  return *this;
}
// A moved-from document stays usable (empty, or the other side's old content after assignment).
IniDocument::IniDocument(IniDocument&& o) noexcept : d_(std::make_unique<Data>()) { d_.swap(o.d_); }
IniDocument& IniDocument::operator=(IniDocument&& o) noexcept {
  d_.swap(o.d_);
  return *this;
}

void IniDocument::Parse(QByteArrayView bytes) {
  if (bytes.size() > kMaxText) bytes = bytes.first(kMaxText);
  d_->Reset();
  cp1251::DecodeAppend(bytes, d_->arena);
  d_->Scan(bytes.data(), bytes.size());
}

QByteArray IniDocument::Serialize() const {
  const Data& d = *d_;
  qsizetype total = 0;
  auto measure = [&](const Data::Line& l) { total += l.len + 2; };
  for (int32_t i = 0; i < d.preambleCount; ++i) measure(d.lines[i]);
  for (const Data::Section& s : d.sections) {
    total += s.len + 4;
    d.ForEachLine(s, measure);
  }
  QByteArray out;
  out.reserve(total);
  ArraySink sink{out};
  d.Emit(sink);
  return out;
}

bool IniDocument::LoadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    // Only a file that is not there at all reads as empty; anything else we could not open must
    // not be mistaken for it, or a later save would replace a file we never saw.
    if (QFileInfo::exists(path)) return false;
    Clear();
    return true;
  }
  if (QFileInfo(path).isDir()) return false;
  const qint64 size = file.size();
  if (size > kMaxText) return false;
  if (file.isSequential() || size == 0) {
    // No size to trust (a pipe, a kernel file): read to the end the ordinary way.
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    Parse(bytes);
    return true;
  }
  // The bytes are read straight into the upper half of the arena and decoded in place: the file
  // never needs a buffer of its own.
  const qsizetype n = qsizetype(size);
  QString arena(n, Qt::Uninitialized);
  char* raw = reinterpret_cast<char*>(arena.data()) + n;
  qsizetype got = 0;
  while (got < n) {
    const qint64 r = file.read(raw + got, n - got);
    if (r < 0) return false;
    if (r == 0) break;  // the file shrank meanwhile: take what is there
    got += qsizetype(r);
  }
  Data& d = *d_;
  d.Reset();
  d.Scan(raw, got);
  DecodeInPlace(arena, got);
  arena.resize(got);
  d.arena = std::move(arena);
  return true;
}

bool IniDocument::SaveFile(const QString& path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  FileSink sink(file);
  d_->Emit(sink);
  sink.Flush();
  if (!sink.ok) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool IniDocument::HasSection(QStringView section) const {
  return d_->FindSection(TrimBlanks(section)) >= 0;
}

bool IniDocument::HasKey(QStringView section, QStringView key) const {
  return d_->FindKey(section, key) != nullptr;
}

namespace {

// A value as the profile readers give it: one pair of enclosing quotes removed.
QStringView Unquoted(QStringView v) {
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    v = v.sliced(1, v.size() - 2);
  return v;
}

}  // namespace

std::optional<QStringView> IniDocument::ValueView(QStringView section, QStringView key) const {
  const Data::Line* l = d_->FindKey(section, key);
  if (!l) return std::nullopt;
  return Unquoted(d_->RawValue(*l));
}

std::optional<QString> IniDocument::Value(QStringView section, QStringView key) const {
  const std::optional<QStringView> v = ValueView(section, key);
  if (!v) return std::nullopt;
  return v->toString();
}

IniDocument::SectionRef IniDocument::Section(QStringView name) const {
  SectionRef ref;
  ref.doc_ = this;
  ref.index_ = d_->FindSection(TrimBlanks(name));
  if (ref.index_ >= 0) {
    const Data::Section& s = d_->sections[static_cast<size_t>(ref.index_)];
    if (s.extra.empty() && s.count <= 256) {
      uint32_t hashes[256];
      int n = 0;
      for (int32_t i = 0; i < s.count; ++i) {
        const Data::Line& l = d_->lines[static_cast<size_t>(s.first + i)];
        if (l.eq != 0) hashes[n++] = l.keyHash;
      }
      std::sort(hashes, hashes + n);
      ref.distinct_ = std::adjacent_find(hashes, hashes + n) == hashes + n;
    }
  }
  return ref;
}

std::optional<QStringView> IniDocument::SectionRef::ValueView(QStringView key) const {
  if (index_ < 0) return std::nullopt;
  const Data& d = *doc_->d_;
  const QStringView k = TrimBlanks(key);
  if (k.isEmpty()) return std::nullopt;
  const Data::Section& s = d.sections[static_cast<size_t>(index_)];
  const uint32_t h = HashFolded(k);
  const Data::Line* found = nullptr;
  if (distinct_) {
    // Round the section from where the last key was found; with distinct hashes the one line that
    // matches is the first of its name.
    for (int32_t step = 0; step < s.count && !found; ++step) {
      const int32_t i = (next_ + step) % s.count;
      const Data::Line& l = d.lines[static_cast<size_t>(s.first + i)];
      if (l.keyHash == h && l.eq != 0) {
        const QStringView lk = d.Key(l);
        if (lk.size() == k.size() && FoldEqual(lk.data(), k)) {
          found = &l;
          next_ = i + 1 == s.count ? 0 : i + 1;
        }
      }
    }
  } else {
    found = Data::FindKeyIn(d, s, d.lines.data(), k, h);
  }
  if (!found) return std::nullopt;
  return Unquoted(d.RawValue(*found));
}

bool IniDocument::SetValue(QStringView section, QStringView key, QStringView value) {
  Data& d = *d_;
  const QStringView sec = TrimBlanks(section);
  const QStringView k = TrimBlanks(key);
  if (sec.isEmpty() || sec.contains(u']') || HasLineBreak(sec) || !cp1251::CanEncode(sec))
    return false;
  if (k.isEmpty() || k.contains(u'=') || k.front() == u'[' || k.front() == u';' ||
      HasLineBreak(k) || !cp1251::CanEncode(k))
    return false;
  if (HasLineBreak(value) || !cp1251::CanEncode(value)) return false;

  const int32_t si = d.FindSection(sec);
  const qsizetype needed = k.size() + 1 + value.size() + (si >= 0 ? 0 : sec.size() + 2);
  if (!d.MakeRoom(needed)) return false;
  if (si >= 0) {
    Data::Section& s = d.sections[si];
    if (Data::Line* l = Data::FindKeyIn(d, s, d.lines.data(), k, HashFolded(k))) {
      // The key keeps the spelling it has in the file; only the value changes.
      const QString fileKey = d.Key(*l).toString();
      const uint32_t oldLen = l->len;
      *l = d.AppendKeyLine(fileKey, value);
      d.NoteDead(oldLen);
      return true;
    }
    s.extra.push_back(d.AppendKeyLine(k, value));
    return true;
  }

  Data::Section& s = d.sections.emplace_back();
  s.off = uint32_t(d.arena.size());
  d.arena.append(u'[');
  d.arena.append(sec);
  d.arena.append(u']');
  s.len = uint32_t(sec.size() + 2);
  s.nameBegin = 1;
  s.nameLen = uint32_t(sec.size());
  s.nameHash = HashFolded(sec);
  // No parsed lines: an empty range at the end of lines keeps the bookkeeping uniform.
  s.first = int32_t(d.lines.size());
  s.count = 0;
  s.extra.push_back(d.AppendKeyLine(k, value));
  d.IndexInsert(int32_t(d.sections.size()) - 1);
  return true;
}

bool IniDocument::BinaryValue(QStringView section, QStringView key, QByteArray& bytes) const {
  const std::optional<QStringView> v = ValueView(section, key);
  if (!v) {
    bytes.clear();
    return false;
  }
  return DecodeHex(*v, bytes);
}

bool IniDocument::SetBinaryValue(QStringView section, QStringView key, QByteArrayView bytes) {
  return SetValue(section, key, EncodeHex(bytes));
}

QStringList IniDocument::SectionNames() const {
  QStringList names;
  names.reserve(qsizetype(d_->sections.size()));
  for (const Data::Section& s : d_->sections) names.append(d_->Name(s).toString());
  return names;
}

QStringList IniDocument::KeyNames(QStringView section) const {
  QStringList keys;
  const int32_t si = d_->FindSection(TrimBlanks(section));
  if (si < 0) return keys;
  d_->ForEachLine(d_->sections[si], [&](const Data::Line& l) {
    if (l.eq > 0) keys.append(d_->Key(l).toString());
  });
  return keys;
}

bool IniDocument::RemoveSection(QStringView section) {
  Data& d = *d_;
  const int32_t si = d.FindSection(TrimBlanks(section));
  if (si < 0) return false;
  // Its parsed lines stay in lines, unreferenced; its texts become garbage of the arena.
  qsizetype freed = d.sections[si].len;
  d.ForEachLine(d.sections[si], [&](const Data::Line& l) { freed += l.len; });
  d.sections.erase(d.sections.begin() + si);
  d.RebuildIndex();
  d.NoteDead(freed);
  return true;
}

void IniDocument::Clear() { *d_ = Data(); }

QString EncodeHex(QByteArrayView bytes) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  QString out(bytes.size() * 2, Qt::Uninitialized);
  char16_t* dst = reinterpret_cast<char16_t*>(out.data());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    dst[2 * i] = kDigits[b >> 4];
    dst[2 * i + 1] = kDigits[b & 0x0F];
  }
  return out;
}

namespace {

// Digit values of the characters below 128; 0xFF for everything else.
struct HexTable {
  unsigned char value[128];
  constexpr HexTable() : value() {
    for (int c = 0; c < 128; ++c) value[c] = 0xFF;
    for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<unsigned char>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<unsigned char>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<unsigned char>(c - 'a' + 10);
  }
};
constexpr HexTable kHex;

}  // namespace

bool DecodeHex(QStringView text, QByteArray& out) {
  // Pictures are megabytes of hex: one table look-up per digit into a buffer sized once.
  QByteArray bytes(text.size() / 2, Qt::Uninitialized);
  char* dst = bytes.data();
  const char16_t* src = text.utf16();
  qsizetype i = 0, n = 0;
  for (; i + 1 < text.size(); i += 2) {
    const char16_t a = src[i], b = src[i + 1];
    const unsigned hi = a < 128 ? kHex.value[a] : 0xFF;
    const unsigned lo = b < 128 ? kHex.value[b] : 0xFF;
    if ((hi | lo) > 0xF) break;
    dst[n++] = static_cast<char>((hi << 4) | lo);
  }
  bytes.truncate(n);
  out = std::move(bytes);
  return i == text.size();
}

}  // namespace korvan
