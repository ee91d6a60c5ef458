#include "platform/named_event.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(NamedEventTest, OpenersShareOneStateUntilTheLastClose) {
  bool existed = true;
  NamedEvent* first = OpenNamedEvent("TestShared", /*manual_reset=*/true, false, &existed);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(existed);
  NamedEvent* second = OpenNamedEvent("TestShared", /*manual_reset=*/false, true, &existed);
  EXPECT_TRUE(existed);
  EXPECT_FALSE(TestNamedEvent(second)) << "an existing event keeps its state and kind";

  SetNamedEvent(first);
  EXPECT_TRUE(TestNamedEvent(second));
  EXPECT_TRUE(TestNamedEvent(second)) << "manual reset: every test after the set sees it";
  ResetNamedEvent(second);
  EXPECT_FALSE(TestNamedEvent(first));

  CloseNamedEvent(first);
  SetNamedEvent(second);
  CloseNamedEvent(second);
  NamedEvent* fresh = OpenNamedEvent("TestShared", true, false, &existed);
  EXPECT_FALSE(existed) << "the last close ends the event";
  EXPECT_FALSE(TestNamedEvent(fresh));
  CloseNamedEvent(fresh);
}

TEST(NamedEventTest, AutomaticResetClearsOnASuccessfulTest) {
  NamedEvent* event = OpenNamedEvent("TestAuto", /*manual_reset=*/false, true);
  EXPECT_TRUE(TestNamedEvent(event));
  EXPECT_FALSE(TestNamedEvent(event));
  CloseNamedEvent(event);
}

TEST(NamedEventTest, NullOrEmptyArgumentsDoNothing) {
  EXPECT_EQ(OpenNamedEvent(nullptr, true, false), nullptr);
  EXPECT_EQ(OpenNamedEvent("", true, false), nullptr);
  SetNamedEvent(nullptr);
  ResetNamedEvent(nullptr);
  EXPECT_FALSE(TestNamedEvent(nullptr));
  CloseNamedEvent(nullptr);
}

}  // namespace
}  // namespace platform
