#include "common/IniDocument.h"

#include "common/IntParse.h"

namespace morvi {

namespace {

bool IsBlank(char16_t c) {
  return c <= u' ';
}

std::u16string_view TrimLeft(std::u16string_view s) {
  std::size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) {
    ++b;
  }
  return s.substr(b);
}

std::u16string_view TrimRight(std::u16string_view s) {
  std::size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) {
    --e;
  }
  return s.substr(0, e);
}

std::u16string_view Trim(std::u16string_view s) {
  return TrimRight(TrimLeft(s));
}

} // namespace

std::u16string UpperCaseAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - (u'a' - u'A'));
    }
  }
  return out;
}

IniDocument::IniDocument(UpperCaseFn upper) : upper_(upper) {}

IniDocument IniDocument::Load(const std::vector<std::u16string>& lines, UpperCaseFn upper) {
  IniDocument doc(upper);
  std::size_t current = kNone;
  bool skipping = false;
  for (const std::u16string& raw : lines) {
    const std::u16string_view line = Trim(raw);
    if (line.empty() || line.front() == u';') {
      continue;
    }
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      const std::u16string_view name = Trim(line.substr(1, line.size() - 2));
      std::u16string upperName = upper(name);
      // A section met again is ignored up to the next header: the first one holds the values.
      skipping = doc.sectionIndex_.count(upperName) != 0;
      if (!skipping) {
        current = doc.AddSection(name, std::move(upperName));
      }
      continue;
    }
    if (current == kNone || skipping) {
      continue;
    }
    const std::size_t eq = line.find(u'=');
    Entry entry{std::u16string(line), line.size(), false, {}};
    if (eq != std::u16string_view::npos) {
      const std::u16string_view key = TrimRight(line.substr(0, eq));
      const std::u16string_view value = TrimLeft(line.substr(eq + 1));
      if (key.size() != eq || value.size() != line.size() - eq - 1) {
        entry.text = std::u16string(key) + u"=" + std::u16string(value);
      }
      entry.keyLength = key.size();
      entry.valued = true;
    }
    entry.upperKey = upper(entry.Key());
    doc.sections_[current].entries.push_back(std::move(entry));
  }
  return doc;
}

std::size_t IniDocument::SectionIndex(std::u16string_view name) const {
  const auto it = sectionIndex_.find(upper_(name));
  return it == sectionIndex_.end() ? kNone : it->second;
}

std::size_t IniDocument::EntryIndex(const Section& section, std::u16string_view key) const {
  const std::u16string upperKey = upper_(key);
  for (std::size_t i = 0; i < section.entries.size(); ++i) {
    if (section.entries[i].upperKey == upperKey) {
      return i;
    }
  }
  return kNone;
}

std::size_t IniDocument::AddSection(std::u16string_view name, std::u16string upperName) {
  sectionIndex_.emplace(std::move(upperName), sections_.size());
  sections_.push_back(Section{std::u16string(name), {}});
  return sections_.size() - 1;
}

std::optional<std::u16string> IniDocument::Find(std::u16string_view section,
                                                std::u16string_view key) const {
  const std::size_t s = SectionIndex(section);
  if (s == kNone) {
    return std::nullopt;
  }
  const std::size_t e = EntryIndex(sections_[s], key);
  if (e == kNone || !sections_[s].entries[e].valued) {
    return std::nullopt;
  }
  return sections_[s].entries[e].Value();
}

std::u16string IniDocument::ReadString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view def) const {
  std::optional<std::u16string> value = Find(section, key);
  return value ? std::move(*value) : std::u16string(def);
}

std::int32_t IniDocument::ReadInteger(std::u16string_view section, std::u16string_view key,
                                      std::int32_t def) const {
  return ParseInteger(ReadString(section, key, u"")).value_or(def);
}

bool IniDocument::ReadBool(std::u16string_view section, std::u16string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniDocument::WriteString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
  std::size_t s = SectionIndex(section);
  if (s == kNone) {
    s = AddSection(section, upper_(section));
  }
  Section& sec = sections_[s];
  const std::size_t e = EntryIndex(sec, key);
  if (e == kNone) {
    std::u16string text = std::u16string(key) + u"=" + std::u16string(value);
    sec.entries.push_back(Entry{std::move(text), key.size(), true, upper_(key)});
  } else {
    // The entry keeps its key in its own letter case; a line without "=" gains one.
    Entry& entry = sec.entries[e];
    entry.text.resize(entry.keyLength);
    entry.text += u'=';
    entry.text += value;
    entry.valued = true;
  }
}

void IniDocument::WriteInteger(std::u16string_view section, std::u16string_view key,
                               std::int32_t value) {
  WriteString(section, key, FormatInteger(value));
}

void IniDocument::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

std::vector<std::u16string> IniDocument::Lines() const {
  std::size_t count = 0;
  for (const Section& s : sections_) {
    count += s.entries.size() + 2;
  }
  std::vector<std::u16string> lines;
  lines.reserve(count);
  for (const Section& s : sections_) {
    lines.push_back(u"[" + s.name + u"]");
    for (const Entry& e : s.entries) {
      lines.push_back(e.text);
    }
    lines.emplace_back();
  }
  return lines;
}

} // namespace morvi
