// The named fields of a name pattern: %{make}, %{model}, %{name} and %{counter}, each with
// an optional default for an empty value ("%{model|NoModel}"), the counter with an optional
// width ("%{counter:3}" gives "001"). Before them "%{" was no field at all, so that no
// pattern that stood before means anything else now; the letters of the date fields stay
// free of them.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What the named fields stand for in one row's name.
struct TNameFields {
  std::string_view Make;
  std::string_view Model;
  std::string_view Name;    // the file's own name, without folder and extension
  std::size_t Counter = 1;  // the row's place in the run, counted from 1
};

// One "%{...}" of a pattern, as written.
struct TNamedField {
  std::string_view Name;
  int Width = 0;  // counter only; 0: as many digits as it has
  std::optional<std::string_view> Default;
  std::size_t Length = 0;  // of the whole field, "%{" to "}" included
};

// The field that begins with "%{" at `start` of `pattern`; nothing, with `why` set, when it
// has no closing "}", names no field above, gives a width to another field than the
// counter or one that is not 1 to 9, or holds a folder delimiter (a field never makes a
// folder).
std::optional<TNamedField> ReadNamedField(std::string_view pattern, std::size_t start, std::string& why);

// What `field` gives for a row: its value made fit for a name (delimiters and control
// characters made "_", on Windows the characters no name may hold too), or its default
// when the value is empty. Empty when both are.
std::string ExpandNamedField(const TNamedField& field, const TNameFields& fields);

// Marks, in an expanded name, where a field gave nothing; TidyEmptyFields removes it.
inline constexpr char EmptyFieldMark = '\x01';

// `name` with each EmptyFieldMark removed and the separators (" ", "_", "-", ".") around it
// tidied, within its part between delimiters: at the start of a part the separators after
// the mark go, at its end those before it, and between two runs of separators the run
// after it ("%Y_%{model}_%H" gives "2021_20", "%{model}-%Y" gives "2021"). Separators that
// the pattern writes elsewhere stay as written.
std::string TidyEmptyFields(std::string_view name);
