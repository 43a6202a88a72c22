#include <gtest/gtest.h>

#include "stars/star.h"

namespace {

// A list of the test's own; whatever a test leaves in it goes with it.
class StarListTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(list.CreateStarList(), 1); }

  Star* Listed(uint32_t inUse, int32_t imageIndex) {
    Star* star = new Star{};
    star->inUse = inUse;
    star->imageIndex = imageIndex;
    list.LinkStarBeforeTail(star);
    return star;
  }

  StarList list;
};

TEST_F(StarListTest, EmptyListSentinelsPointAtEachOther) {
  EXPECT_EQ(list.starListHead->next, list.starListTail);
  EXPECT_EQ(list.starListTail->prev, list.starListHead);
  EXPECT_EQ(list.starListHead->prev, list.starListHead);
  EXPECT_EQ(list.starListTail->next, list.starListTail);
  EXPECT_EQ(list.starListHead->window, nullptr);
  Star* head = list.starListHead;
  EXPECT_EQ(list.CreateStarList(), 1);  // a running list is kept
  EXPECT_EQ(list.starListHead, head);
}

TEST_F(StarListTest, StarsKeepCreationOrderAndUnlinkCleanly) {
  Star* a = Listed(1, 0);
  Star* b = Listed(1, 0);
  Star* c = Listed(1, 0);
  EXPECT_EQ(list.starListHead->next, a);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->next, c);
  EXPECT_EQ(c->next, list.starListTail);
  EXPECT_EQ(list.starListTail->prev, c);
  EXPECT_EQ(list.StarCount(), 3);

  list.UnlinkStar(b);
  EXPECT_EQ(a->next, c);
  EXPECT_EQ(c->prev, a);
  delete b;
  list.UnlinkStar(c);
  list.UnlinkStar(a);
  delete a;
  delete c;
  EXPECT_EQ(list.starListHead->next, list.starListTail);
  EXPECT_EQ(list.starListTail->prev, list.starListHead);
  EXPECT_EQ(list.StarCount(), 0);
}

TEST_F(StarListTest, FreeStarIsTheOneNearestTheHeadOfThatImage) {
  Listed(1, 2);
  Star* freeOfOther = Listed(0, 1);
  Star* first = Listed(0, 2);
  Listed(0, 2);
  EXPECT_EQ(list.GetFreeStar(2), first);
  EXPECT_EQ(list.GetFreeStar(1), freeOfOther);
  EXPECT_EQ(list.GetFreeStar(0), nullptr);
  first->inUse = 1;
  EXPECT_NE(list.GetFreeStar(2), first);
  EXPECT_NE(list.GetFreeStar(2), nullptr);
}

TEST(StoppedStarList, LookUpsFindNothing) {
  StarList list;
  ASSERT_EQ(list.starListHead, nullptr);
  EXPECT_EQ(list.GetFreeStar(0), nullptr);
  Star loose{};
  list.LinkStarBeforeTail(&loose);  // nothing to link into
  EXPECT_EQ(loose.next, nullptr);
}

}  // namespace
