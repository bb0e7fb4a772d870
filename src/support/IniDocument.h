#pragma once
// An INI file held in memory with the layout and lookup rules of the Windows profile functions:
// "[Section]" lines, "key=value" lines, CR LF, one empty line after each section; section and key
// names matched without regard to letter case; values trimmed, and read without a pair of
// enclosing quotes. A file is parsed once and serialised once, so a whole scheme is read or
// written in one pass; ZIniFile keeps the one-value-per-call access on top of it.
//
// Text in the document is Unicode; the file bytes are Windows-1251. A value, key or section name
// that Windows-1251 cannot hold, or that would break the line layout, is refused by the setters.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>

namespace korvan {

class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(const IniDocument&);
  IniDocument& operator=(const IniDocument&);
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;

  // Replaces the content by the parse of bytes (Windows-1251). Never fails: any byte sequence
  // gives some document. Lines without "=" and lines before the first section are kept as they
  // are and written back, but are not keys. For duplicate sections or keys the first one wins.
  void Parse(QByteArrayView bytes);
  // The file in the profile layout: CR LF line ends, one empty line after each section.
  QByteArray Serialize() const;

  // Reads path into the document. A missing file gives an empty document and true; a file that
  // exists but cannot be read gives false and leaves the document untouched.
  bool LoadFile(const QString& path);
  // Writes the document to path atomically (temporary file, then rename): on failure the old file
  // is left as it was and false is returned.
  bool SaveFile(const QString& path) const;

  bool HasSection(QStringView section) const;
  bool HasKey(QStringView section, QStringView key) const;
  // The value as the profile functions read it (trimmed, one pair of enclosing quotes removed),
  // uncut; nullopt when the section or key is missing.
  std::optional<QString> Value(QStringView section, QStringView key) const;

  // The same without a copy: a view into the document, valid until the document changes.
  std::optional<QStringView> ValueView(QStringView section, QStringView key) const;

  // A section looked up once for many reads: what a reader of one record needs. Valid until the
  // document changes; a missing section finds no key.
  class SectionRef {
   public:
    bool Exists() const { return index_ >= 0; }
    // Value() of a key of this section, as a view into the document. Keys read in the order they
    // are stored cost one comparison each.
    std::optional<QStringView> ValueView(QStringView key) const;

   private:
    friend class IniDocument;
    const IniDocument* doc_ = nullptr;
    int index_ = -1;
    // Where the search for the next key starts; only used when no two keys of the section share
    // a hash, so that starting anywhere still finds the first key of a name.
    mutable int next_ = 0;
    bool distinct_ = false;
  };
  SectionRef Section(QStringView name) const;

  // Replaces the value in place, or appends the key to the end of its section, or appends the
  // section with the key to the end of the document. False (document unchanged) when a text has
  // a character outside Windows-1251, a line break, or a name that the layout cannot hold.
  bool SetValue(QStringView section, QStringView key, QStringView value);

  // Binary values: upper-case hexadecimal pairs, two digits per byte, no separators.
  // A missing key gives an empty array and false; a malformed value gives the bytes of its
  // well-formed leading pairs and false.
  bool BinaryValue(QStringView section, QStringView key, QByteArray& bytes) const;
  bool SetBinaryValue(QStringView section, QStringView key, QByteArrayView bytes);

  // Section names in file order (duplicates included), and the keys of the first section of a name.
  QStringList SectionNames() const;
  QStringList KeyNames(QStringView section) const;

  // Removes a section (the first of that name) with all its keys; false when there is none.
  bool RemoveSection(QStringView section);
  void Clear();

 private:
  struct Data;
  std::unique_ptr<Data> d_;
};

// Hexadecimal text of bytes: two upper-case digits per byte.
QString EncodeHex(QByteArrayView bytes);
// Decodes pairs of hexadecimal digits (either case). Stops at the first malformed pair or a lone
// final digit: out holds the bytes before it and the result is false.
bool DecodeHex(QStringView text, QByteArray& out);

}  // namespace korvan
