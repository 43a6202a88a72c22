#include "images/image_list.h"

#include <gtest/gtest.h>

TEST(ImageList, AppendIndexRemoveKeepOrder) {
  int a = 1, b = 2, c = 3, d = 4;
  ImageList<int> list;
  EXPECT_EQ(list.Get(0), nullptr);
  ASSERT_EQ(list.Append(&a), 1);
  ASSERT_EQ(list.Append(&b), 1);
  ASSERT_EQ(list.Append(&c), 1);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Get(2), &c);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);

  // Removing the last entry must move the append point back, or the next
  // append would link to a freed node.
  EXPECT_EQ(list.Remove(2), &c);
  ASSERT_EQ(list.Append(&d), 1);
  EXPECT_EQ(list.Get(2), &d);

  EXPECT_EQ(list.Remove(0), &a);  // later entries move up
  EXPECT_EQ(list.Get(0), &b);
  EXPECT_EQ(list.Get(1), &d);
  EXPECT_EQ(list.Remove(5), nullptr);
  EXPECT_EQ(list.Count(), 2);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  ASSERT_EQ(list.Append(&a), 1);
  EXPECT_EQ(list.Get(0), &a);
}
