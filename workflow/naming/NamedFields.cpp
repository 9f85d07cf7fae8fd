#include "workflow/naming/NamedFields.h"

#include <charconv>

#include "Text/Ascii.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view Separators = " _-.";

#ifdef _WIN32
// Characters that no Windows name holds, beside the delimiters.
constexpr std::string_view NotInNames = "<>:\"|?*";
#else
constexpr std::string_view NotInNames = "";
#endif

bool IsDelimiter(char character) { return platform::IsPathDelimiter(static_cast<unsigned char>(character)); }

// A value (or default) with every character that would break the name made "_".
std::string FitForName(std::string_view value) {
  std::string fit(value);
  for (char& character : fit)
    if (IsDelimiter(character) || text::IsAsciiControl(character) || NotInNames.find(character) != std::string_view::npos)
      character = '_';
  return fit;
}

bool IsSeparator(char character) { return Separators.find(character) != std::string_view::npos; }

}  // namespace

std::optional<TNamedField> ReadNamedField(std::string_view pattern, std::size_t start, std::string& why) {
  const std::size_t close = pattern.find('}', start);
  const std::string_view written = pattern.substr(start, close == std::string_view::npos ? close : close + 1 - start);
  if (close == std::string_view::npos) {
    why = "format field \"" + std::string(written) + "\" has no closing \"}\"";
    return std::nullopt;
  }
  TNamedField field;
  field.Length = written.size();
  std::string_view inside = written.substr(2, written.size() - 3);
  if (const std::size_t bar = inside.find('|'); bar != std::string_view::npos) {
    field.Default = inside.substr(bar + 1);
    inside = inside.substr(0, bar);
  }
  field.Name = inside.substr(0, inside.find(':'));
  if (field.Name != "make" && field.Name != "model" && field.Name != "name" && field.Name != "counter") {
    why = "format field \"" + std::string(written) + "\" is not one of %{make} %{model} %{name} %{counter}";
    return std::nullopt;
  }
  if (const std::size_t colon = inside.find(':'); colon != std::string_view::npos) {
    const std::string_view width = inside.substr(colon + 1);
    const auto [end, error] = std::from_chars(width.data(), width.data() + width.size(), field.Width);
    if (field.Name != "counter" || error != std::errc() || end != width.data() + width.size() || field.Width < 1 ||
        field.Width > 9) {
      why = "format field \"" + std::string(written) + "\": only %{counter} takes a width, from 1 to 9";
      return std::nullopt;
    }
  }
  for (const char character : written) {
    if (IsDelimiter(character)) {
      why = "format field \"" + std::string(written) + "\" holds a folder delimiter";
      return std::nullopt;
    }
  }
  return field;
}

std::string ExpandNamedField(const TNamedField& field, const TNameFields& fields) {
  std::string value;
  if (field.Name == "make") value = fields.Make;
  if (field.Name == "model") value = fields.Model;
  if (field.Name == "name") value = fields.Name;
  if (field.Name == "counter") {
    value = std::to_string(fields.Counter);
    if (value.size() < static_cast<std::size_t>(field.Width)) value.insert(0, static_cast<std::size_t>(field.Width) - value.size(), '0');
  }
  if (value.empty() && field.Default) value = *field.Default;
  return FitForName(value);
}

std::string TidyEmptyFields(std::string_view name) {
  std::string tidy(name);
  for (std::size_t mark; (mark = tidy.find(EmptyFieldMark)) != std::string::npos;) {
    std::size_t before = mark;
    while (before > 0 && IsSeparator(tidy[before - 1])) --before;
    std::size_t after = mark + 1;
    while (after < tidy.size() && IsSeparator(tidy[after])) ++after;
    const bool partStart = before == 0 || IsDelimiter(tidy[before - 1]);
    const bool partEnd = after == tidy.size() || IsDelimiter(tidy[after]);
    if (partStart || (!partEnd && before < mark && after > mark + 1)) {
      tidy.erase(mark, after - mark);  // the mark and the separators after it
    } else if (partEnd) {
      tidy.erase(before, mark + 1 - before);  // the separators before it and the mark
    } else {
      tidy.erase(mark, 1);
    }
  }
  return tidy;
}
