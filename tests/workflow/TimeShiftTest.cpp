// A camera clock that was wrong: the amount as written, the time it moves, and which files
// take which amount.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "workflow/dates/TimeShift.h"
#include "workflow/naming/RowPlan.h"
#include "workflow/rows/FileRow.h"

namespace {

using namespace std::chrono;

TEST(TimeShiftTest, AmountsAsWritten) {
  std::string why;
  EXPECT_EQ(ParseTimeShift("-1:00", why), -hours(1));
  EXPECT_EQ(ParseTimeShift("+1 02:30", why), days(1) + hours(2) + minutes(30));
  EXPECT_EQ(ParseTimeShift("00:00:45", why), seconds(45));
  EXPECT_EQ(why, "");
  for (const char* bad : {"", "1", "1:5", "24:00", "1:60", "1:00:60", "+-1:00", "1 :00", "x 1:00", "1:00:", "123:00"}) {
    EXPECT_FALSE(ParseTimeShift(bad, why)) << bad;
    EXPECT_NE(why.find(std::string("not '") + bad + "'"), std::string::npos) << why;
  }
  EXPECT_EQ(TimeShiftText(days(1) + hours(2) + minutes(30)), "+1 02:30:00");
  EXPECT_EQ(TimeShiftText(-hours(1)), "-01:00:00");
}

TEST(TimeShiftTest, TheWallClockMovesAndTheZoneStays) {
  EXPECT_EQ(ShiftedTime(*ParseCreationTime("2015-01-01T00:30:00.250000+02:00"), -hours(1)),
            *ParseCreationTime("2014-12-31T23:30:00.250000+02:00"));
  EXPECT_EQ(ShiftedTime(*ParseCreationTime("2016-02-28T23:00:00Z"), days(1) + hours(2)),
            *ParseCreationTime("2016-03-01T01:00:00Z"));
  EXPECT_EQ(ShiftedTime(*ParseCreationTime("2016-02-28T23:00:00"), minutes(1)), *ParseCreationTime("2016-02-28T23:01:00"));
}

TFileRow RowOf(const std::string& model) {
  TFileRow row;
  row.FileName = "/v/clip.mp4";
  row.CreationTime = "2015-06-01T10:20:30Z";
  row.Time = ParseCreationTime(row.CreationTime);
  row.Camera.Model = model;
  return row;
}

TEST(TimeShiftTest, AModelsShiftWinsOverTheShiftOfAllAndSetsTheModificationTime) {
  TPlanOptions options;
  options.Naming.Format = "%H%M";
  options.Naming.Shift = -hours(1);
  options.Naming.ShiftForModel = {{"EOS 5D", minutes(30)}};
  options.SetMtime = true;
  EXPECT_EQ(PlanRow(RowOf("EOS 5D"), "/v/", options).Target, "/v/1050.mp4");
  // The model must match exactly.
  EXPECT_EQ(PlanRow(RowOf("EOS 5D Mark II"), "/v/", options).Target, "/v/0920.mp4");
  const TRowPlan plan = PlanRow(RowOf(""), "/v/", options);
  ASSERT_TRUE(plan.Mtime);
  EXPECT_EQ(*plan.Mtime, (InstantOf(*ParseCreationTime("2015-06-01T09:20:30Z"))).time_since_epoch().count());
  // Without a pattern the name is the shifted time in its ISO form.
  options.Naming.Format.clear();
  EXPECT_EQ(PlanRow(RowOf(""), "/v/", options).Target, "/v/2015-06-01T09_20_30.000000Z.mp4");
}

}  // namespace
