#include "formula/ExchangeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

#include "formula/FigureMeasures.h"
#include "formula/FormulaTable.h"
#include "formula/NameSubstitution.h"
#include "formula/SubstitutionTable.h"
#include "support/Cp1251.h"
#include "support/IniValues.h"
#include "support/Prompter.h"
#include "support/ZString.h"

namespace korvan {
namespace {

const QString kSection = QStringLiteral("Formula");

QString Numbered(const char* key, int n) { return QLatin1String(key) + QString::number(n); }

// Replaces the first whole occurrence of name by body, again and again, each time searching the
// text anew, until none is left or the text would grow beyond the cap. body must not hold name as
// a whole occurrence (the loop would never end). A new occurrence can only arise where an insertion
// meets the text around it, so the search resumes a name's length before the last insertion: the
// text is kept as a rewritten front (out) and an untouched back (src from restAt), and each step
// costs the length of the insertion plus the distance to the next occurrence.
QString ExpandRow(const QString& src, const QString& name, const QString& body) {
  const qsizetype n = name.size();
  QString out;
  qsizetype restAt = 0;
  qsizetype from = 0;  // no whole occurrence starts before it
  const auto total = [&] { return out.size() + src.size() - restAt; };
  const auto at = [&](qsizetype k) { return k < out.size() ? out[k] : src[restAt + k - out.size()]; };
  const auto whole = [&](qsizetype q) {
    return (q == 0 || IsSeparatorBefore(at(q - 1))) && (q + n == total() || IsSeparatorAfter(at(q + n)));
  };
  for (qsizetype steps = 0; steps < kMaxExpandedFormulaLength; ++steps) {
    qsizetype q = -1;
    if (from < out.size()) {
      // Occurrences starting in the rewritten front: it ends at most a body and a name behind from.
      const QString window = out.mid(from) + src.mid(restAt, n);
      for (qsizetype i = window.indexOf(name); i >= 0 && from + i < out.size(); i = window.indexOf(name, i + 1))
        if (whole(from + i)) {
          q = from + i;
          break;
        }
    }
    if (q < 0) {
      const QStringView rest = QStringView(src).mid(restAt);
      for (qsizetype r = rest.indexOf(name, std::max<qsizetype>(0, from - out.size())); r >= 0;
           r = rest.indexOf(name, r + 1))
        if (whole(out.size() + r)) {
          q = out.size() + r;
          break;
        }
    }
    if (q < 0 || total() - n + body.size() > kMaxExpandedFormulaLength) break;
    if (q + n <= out.size()) {
      out.replace(q, n, body);
    } else {
      const qsizetype kept = std::min(q, out.size());
      const qsizetype consumed = q + n - out.size();  // characters of the back up to the name's end
      out.truncate(kept);
      if (q > kept) out.append(QStringView(src).mid(restAt, q - kept));
      restAt += consumed;
      out.append(body);
    }
    from = std::max<qsizetype>(0, q - n);
  }
  out.append(QStringView(src).mid(restAt));
  return out;
}

QString FileNamePart(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

QString OrZero(const QString& s) { return s.isEmpty() ? QStringLiteral("0") : s; }

// The largest n for which the section may hold one of the numbered keys; entries beyond it have
// none of their keys, so a count far above the entries written costs no lookups.
int LastNumberedEntry(const IniDocument& doc, int count) {
  static const QLatin1String kPrefixes[] = {QLatin1String("FormulaVid_"), QLatin1String("FormulaShemaName_"),
                                            QLatin1String("FormulaName_"), QLatin1String("FormulaValue_")};
  int last = 0;
  for (const QString& key : doc.KeyNames(kSection)) {
    for (const QLatin1String prefix : kPrefixes) {
      if (!key.startsWith(prefix, Qt::CaseInsensitive)) continue;
      const QStringView digits = QStringView(key).mid(prefix.size());
      if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        continue;
      bool ok = false;
      const int n = digits.toInt(&ok);
      if (!ok) return count;  // too long to tell: look everything up
      last = std::max(last, std::min(n, count));
    }
  }
  return last;
}

}  // namespace

void ReadExchangeDocument(const IniDocument& doc, EstimateLink& link) {
  link.SmetaNormaFormula.clear();
  ReadIniString(doc, kSection, QStringLiteral("FormulaNorma"), link.SmetaNormaFormula);
  int count = 0;
  ReadIniInt(doc, kSection, QStringLiteral("FormulaCount"), count);
  count = std::clamp(count, 0, kMaxExchangeEntries);
  link.SmetaFormulas.clear();
  link.SmetaFormulas.reserve(static_cast<size_t>(count));
  const int last = LastNumberedEntry(doc, count);
  for (int n = 1; n <= count; ++n) {
    if (n > last) {
      link.SmetaFormulas.resize(static_cast<size_t>(count));
      break;
    }
    stFormula e;
    int vid = 0;
    ReadIniInt(doc, kSection, Numbered("FormulaVid_", n), vid);
    e.Vid = static_cast<std::uint8_t>(vid & 0xFF);
    ReadIniString(doc, kSection, Numbered("FormulaShemaName_", n), e.ShemaName);
    ReadIniString(doc, kSection, Numbered("FormulaName_", n), e.Name);
    ReadIniString(doc, kSection, Numbered("FormulaValue_", n), e.Value);
    link.SmetaFormulas.push_back(std::move(e));
  }
}

void ReadExchangeFile(const QString& path, EstimateLink& link) {
  IniDocument doc;
  if (!doc.LoadFile(path)) doc.Clear();
  ReadExchangeDocument(doc, link);
}

QString ExpandFormulaNames(const QString& input, const FormulaGrid& rows) {
  QString text = input;
  for (const QStringList& row : rows) {
    const QString name = row.value(0).trimmed();
    if (name.isEmpty()) continue;
    const QString body = row.value(1).trimmed();
    if (FindWholeName(body, name) > 0) {
      // Every insertion would bring the name back and the loop below would never end.
      QString once = ReplaceWholeName(text, name, body);
      if (once.size() <= kMaxExpandedFormulaLength) text = std::move(once);
      continue;
    }
    // The step bound only matters for names holding separators whose insertions keep re-forming
    // them without growing the text.
    text = ExpandRow(text, name, body);
  }
  return text;
}

bool BuildExchangeDocument(IniDocument& doc, const QString& text, const std::vector<stFigure>& figures,
                           const FormulaGrid& rows, const EditorState& state, const EstimateLink& link) {
  bool ok = true;
  const QString expanded = ExpandFormulaNames(text, rows);
  ok = doc.SetValue(kSection, QStringLiteral("FormulaStr"), expanded) && ok;

  const QString fileName = FileNamePart(state.ShemaFile);
  const QString shema = cp1251::ToLower(fileName.trimmed());

  // The measures of every named figure, in figure order, and which of them the text uses.
  SubstitutionTable measures;
  std::vector<QString> values;
  for (const stFigure& f : figures) {
    if (f.Name.trimmed().isEmpty()) continue;
    measures.Add(AreaName(f.Name, state), QString());
    values.push_back(OrZero(AreaText(f, state)));
    measures.Add(PerimeterName(f.Name, state), QString());
    values.push_back(OrZero(PerimeterText(f, state)));
    measures.Add(LengthName(f.Name, state), QString());
    values.push_back(OrZero(std::isfinite(f.Width) ? ZString::FormatNumber(f.Width) : FormatValue(f.Width, 0)));
    measures.Add(HeightName(f.Name, state), QString());
    values.push_back(OrZero(std::isfinite(f.Height) ? ZString::FormatNumber(f.Height) : FormatValue(f.Height, 0)));
  }
  std::vector<char> used(values.size(), 0);
  for (const int i : measures.Occurring(expanded)) used[static_cast<size_t>(i)] = 1;
  QSet<QString> listedForThisScheme;
  for (const stFormula& e : link.SmetaFormulas)
    if (cp1251::ToLower(e.ShemaName.trimmed()) == shema) listedForThisScheme.insert(e.Name);

  int k = 0;
  for (int i = 0; i < measures.Size(); ++i) {
    const QString& name = measures.Name(i);
    QString schemeName;
    if (used[static_cast<size_t>(i)])
      schemeName = fileName;
    else if (listedForThisScheme.contains(name))
      schemeName = shema;
    else
      continue;
    ++k;
    ok = doc.SetValue(kSection, Numbered("FormulaShemaName_", k), schemeName) && ok;
    ok = doc.SetValue(kSection, Numbered("FormulaName_", k), name) && ok;
    ok = doc.SetValue(kSection, Numbered("FormulaValue_", k), values[static_cast<size_t>(i)]) && ok;
  }
  ok = WriteIniInt(doc, kSection, QStringLiteral("FormulaCount"), k) && ok;
  return ok;
}

bool WriteExchangeFile(const QString& path, const QString& text, const std::vector<stFigure>& figures,
                       const FormulaGrid& rows, const EditorState& state, const EstimateLink& link) {
  if (path.trimmed().isEmpty()) return true;
  IniDocument doc;
  if (!doc.LoadFile(path)) return false;
  if (!BuildExchangeDocument(doc, text, figures, rows, state, link)) return false;
  return doc.SaveFile(path);
}

SendResult SendToSmeta(int column, int index, const FormulaGrid& rows, const NamingScope& scope, bool hasChanges,
                       const std::function<bool()>& saveScheme) {
  if (!ValidateAllNames(true, rows, scope)) return SendResult::Refused;
  const QString& path = scope.Link.SmetaFileArg;
  if (!path.isEmpty() && QFileInfo::exists(path)) QFile::remove(path);
  if (hasChanges) {
    if (CurrentPrompter().Ask(scope.State.Title, QStringLiteral("Сохранить схему?")) != Answer::Yes)
      return SendResult::NotSaved;
    if (!saveScheme || !saveScheme()) return SendResult::SaveFailed;
  }
  if (!WriteExchangeFile(path, RowCell(rows, index, column), scope.Figures, rows, scope.State, scope.Link))
    return SendResult::WriteFailed;
  return SendResult::Sent;
}

}  // namespace korvan
