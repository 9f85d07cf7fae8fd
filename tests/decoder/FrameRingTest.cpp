// The frames kept for steps backward: references to real pictures within a byte bound.
#include <gtest/gtest.h>

#include "FFDecode/FrameRing.h"
#include "FFLoad/EntryPoints.h"
#include "support/TestEnvironment.h"

namespace {

constexpr int kBytes = 64 * 48 * 3 / 2;  // one 64x48 picture in 8-bit 4:2:0

ff::FramePtr Picture(int width = 64, int height = 48) {
  ff::FramePtr frame(ff::avutil.av_frame_alloc());
  frame->format = AV_PIX_FMT_YUV420P;
  frame->width = width;
  frame->height = height;
  EXPECT_EQ(ff::avutil.av_frame_get_buffer(frame.get(), 0), 0);
  return frame;
}

TEST(FrameRingTest, KeepsTheNewestFramesWithinTheBoundAndReferencesTheirPictures) {
  RequireMediaLibraries();
  TFrameRing ring(3 * kBytes);
  ff::FramePtr shared = Picture();
  for (int i = 0; i < 5; ++i) {
    TFrameFacts facts;
    facts.Time = i;
    ASSERT_TRUE(ring.Push(i == 4 ? *shared : *Picture(), facts));
  }
  ASSERT_EQ(ring.Size(), 3u);
  EXPECT_EQ(ring.Dropped(), 2u);
  EXPECT_EQ(ring.Bytes(), 3 * kBytes);
  EXPECT_EQ(ring[0].Facts.Time, 2);
  EXPECT_EQ(ring[2].Facts.Time, 4);
  EXPECT_EQ(ring[2].Frame->data[0], shared->data[0]) << "a reference, not a copy";
  ring.Clear();
  EXPECT_TRUE(ring.Empty());
  EXPECT_EQ(ring.Bytes(), 0);
  EXPECT_EQ(ring.Dropped(), 0u);
}

TEST(FrameRingTest, KeepsTheTwoNewestWhateverTheirSize) {
  RequireMediaLibraries();
  TFrameRing ring(kBytes / 2);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(ring.Push(*Picture(), {}));
  EXPECT_EQ(ring.Size(), 2u);
}

}  // namespace
