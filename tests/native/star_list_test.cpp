#include <gtest/gtest.h>

#include "stars/star.h"

namespace {

// Frees whatever a test left in the list, sentinels included.
void DropList() {
  if (starListHead != nullptr) {
    Star* s = starListHead->next;
    while (s != starListTail) {
      Star* next = s->next;
      delete s;
      s = next;
    }
    delete starListHead;
    delete starListTail;
  }
  starListHead = starListTail = nullptr;
}

Star* Listed(uint32_t inUse, int32_t imageIndex) {
  Star* star = new Star{};
  star->inUse = inUse;
  star->imageIndex = imageIndex;
  LinkStarBeforeTail(star);
  return star;
}

class StarList : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CreateStarList(), 1); }
  void TearDown() override { DropList(); }
};

TEST_F(StarList, EmptyListSentinelsPointAtEachOther) {
  EXPECT_EQ(starListHead->next, starListTail);
  EXPECT_EQ(starListTail->prev, starListHead);
  EXPECT_EQ(starListHead->prev, starListHead);
  EXPECT_EQ(starListTail->next, starListTail);
  EXPECT_EQ(starListHead->window, nullptr);
  Star* head = starListHead;
  EXPECT_EQ(CreateStarList(), 1);  // a running list is kept
  EXPECT_EQ(starListHead, head);
}

TEST_F(StarList, StarsKeepCreationOrderAndUnlinkCleanly) {
  Star* a = Listed(1, 0);
  Star* b = Listed(1, 0);
  Star* c = Listed(1, 0);
  EXPECT_EQ(starListHead->next, a);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->next, c);
  EXPECT_EQ(c->next, starListTail);
  EXPECT_EQ(starListTail->prev, c);

  UnlinkStar(b);
  EXPECT_EQ(a->next, c);
  EXPECT_EQ(c->prev, a);
  delete b;
  UnlinkStar(c);
  UnlinkStar(a);
  delete a;
  delete c;
  EXPECT_EQ(starListHead->next, starListTail);
  EXPECT_EQ(starListTail->prev, starListHead);
}

TEST_F(StarList, FreeStarIsTheOneNearestTheHeadOfThatImage) {
  Listed(1, 2);
  Star* freeOfOther = Listed(0, 1);
  Star* first = Listed(0, 2);
  Listed(0, 2);
  EXPECT_EQ(GetFreeStar(2), first);
  EXPECT_EQ(GetFreeStar(1), freeOfOther);
  EXPECT_EQ(GetFreeStar(0), nullptr);
  first->inUse = 1;
  EXPECT_NE(GetFreeStar(2), first);
  EXPECT_NE(GetFreeStar(2), nullptr);
}

TEST(StoppedStarList, LookUpsFindNothing) {
  ASSERT_EQ(starListHead, nullptr);
  EXPECT_EQ(GetFreeStar(0), nullptr);
  Star loose{};
  LinkStarBeforeTail(&loose);  // nothing to link into
  EXPECT_EQ(loose.next, nullptr);
}

}  // namespace
