// The named fields of a name pattern (%{make} %{model} %{name} %{counter}, defaults, the
// counter's width), the tidying around a field that gives nothing, and their checks.
#include <gtest/gtest.h>

#include <string>

#include "workflow/naming/NameFormat.h"
#include "workflow/naming/NewFileName.h"

namespace {

const TCreationTime Time = *ParseCreationTime("2015-06-01T10:20:30Z");
const TNameFields NoCamera{"", "", "clip", 1};

TEST(NamedFieldsTest, CameraNameAndCounter) {
  const TNameFields fields{"Canon", "EOS 5D", "IMG_0001", 7};
  EXPECT_EQ(ExpandNameFormat("%Y%m%d_%{make}_%{model}_%{name}_%{counter:3}", Time, fields),
            "20150601_Canon_EOS 5D_IMG_0001_007");
  EXPECT_EQ(ExpandNameFormat("%{counter}.%{counter:1}", Time, {"", "", "", 1234}), "1234.1234");
  // A default stands in for an empty value only.
  EXPECT_EQ(ExpandNameFormat("%{model|NoModel} %{make|NoMake}", Time, {"Canon", "", "", 1}), "NoModel Canon");
}

TEST(NamedFieldsTest, AValueNeverMakesAFolderNorHoldsAControlCharacter) {
  const std::string name = ExpandNameFormat("%Y/%{model}", Time, {"", "A/B\tC", "", 1});
  EXPECT_EQ(name, "2015/A_B_C");
  EXPECT_EQ(FoldersBelow("/v/", MakeNewFileName("/v/", name, "/v/clip.mp4")), "2015");
}

TEST(NamedFieldsTest, AFieldThatGivesNothingTakesTheSeparatorsOnOneSideAlong) {
  EXPECT_EQ(ExpandNameFormat("%Y_%{model}_%H", Time, NoCamera), "2015_10");
  EXPECT_EQ(ExpandNameFormat("%Y_%{make}-%{model}_%H", Time, NoCamera), "2015_10");
  // At the start or the end of the name or of a folder, the separators next to it go.
  EXPECT_EQ(ExpandNameFormat("%{make}-%{model} %Y", Time, NoCamera), "2015");
  EXPECT_EQ(ExpandNameFormat("%Y - %{model}/%{make}.%m", Time, NoCamera), "2015/06");
  // Without separators beside it the field just gives nothing; the pattern's own stay.
  EXPECT_EQ(ExpandNameFormat("%Y__%m%{model}%d", Time, NoCamera), "2015__0601");
  // A part that the field alone made is empty: the name rule refuses it.
  EXPECT_FALSE(IsUsableNamePath(ExpandNameFormat("%{model}/%Y", Time, NoCamera), true));
}

TEST(NamedFieldsTest, CheckNamesTheFieldThatCannotStand) {
  EXPECT_EQ(CheckNameFormat("%Y_%{make}_%{model|NoModel}_%{name}_%{counter:3}"), "");
  EXPECT_EQ(CheckNameFormat("%Y_%{lens}"), "format field \"%{lens}\" is not one of %{make} %{model} %{name} %{counter}");
  EXPECT_EQ(CheckNameFormat("%{model"), "format field \"%{model\" has no closing \"}\"");
  for (const char* pattern : {"%{model:3}", "%{counter:0}", "%{counter:x}", "%{counter:10}"})
    EXPECT_EQ(CheckNameFormat(pattern),
              "format field \"" + std::string(pattern) + "\": only %{counter} takes a width, from 1 to 9");
  EXPECT_EQ(CheckNameFormat("%{model|a/b}"), "format field \"%{model|a/b}\" holds a folder delimiter");
  EXPECT_NE(CheckNameFormat("%{model|a\tb}"), "");
}

}  // namespace
