#include "linux/kit/input_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

InputEvent Event(QueuedKind kind, int32_t x, uint32_t time = 0) {
  InputEvent event;
  event.kind = kind;
  event.x = x;
  event.y = -x;
  event.timeMs = time;
  return event;
}

std::vector<InputEvent> Drain(InputQueue& queue) {
  std::vector<InputEvent> events;
  InputEvent event;
  while (queue.Pop(&event)) events.push_back(event);
  return events;
}

TEST(InputQueue, ClicksComeOutInOrderAndTheFirstPushOfABatchWakes) {
  InputQueue queue;
  EXPECT_TRUE(queue.Push(Event(QueuedKind::Press, 1)));
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Release, 2)));
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Press, 3)));
  EXPECT_EQ(queue.Size(), 3u);
  std::vector<InputEvent> events = Drain(queue);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, QueuedKind::Press);
  EXPECT_EQ(events[0].x, 1);
  EXPECT_EQ(events[0].y, -1);
  EXPECT_EQ(events[1].kind, QueuedKind::Release);
  EXPECT_EQ(events[2].x, 3);
  EXPECT_EQ(queue.Size(), 0u);
  EXPECT_TRUE(queue.Push(Event(QueuedKind::Press, 4))) << "an emptied queue wakes again";
}

TEST(InputQueue, MovesAndKeysMergeIntoOneWaitingEachAndKeepTheLatestPlace) {
  InputQueue queue;
  EXPECT_TRUE(queue.Push(Event(QueuedKind::Move, 10, 100)));
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Move, 11, 101)));
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Key, 20, 102)));
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Move, 12, 103)));
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Key, 21, 104)));
  EXPECT_EQ(queue.Size(), 2u);
  std::vector<InputEvent> events = Drain(queue);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, QueuedKind::Move);
  EXPECT_EQ(events[0].x, 12);
  EXPECT_EQ(events[0].timeMs, 103u);
  EXPECT_EQ(events[0].merged, 3u);
  EXPECT_EQ(events[1].kind, QueuedKind::Key);
  EXPECT_EQ(events[1].x, 21);
  EXPECT_EQ(events[1].merged, 2u);
}

TEST(InputQueue, AMergedEventTakesThePlaceOfItsNewestAmongTheClicks) {
  InputQueue queue;
  queue.Push(Event(QueuedKind::Move, 1));
  queue.Push(Event(QueuedKind::Press, 2));
  queue.Push(Event(QueuedKind::Move, 3));  // now after the press
  queue.Push(Event(QueuedKind::Release, 4));
  std::vector<InputEvent> events = Drain(queue);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, QueuedKind::Press);
  EXPECT_EQ(events[1].kind, QueuedKind::Move);
  EXPECT_EQ(events[1].x, 3);
  EXPECT_EQ(events[2].kind, QueuedKind::Release);
}

TEST(InputQueue, TheRingWrapsWithoutLosingAClick) {
  InputQueue queue;
  // Fill and drain in uneven steps so head and tail cross the end many times.
  int32_t pushed = 0;
  int32_t taken = 0;
  for (int round = 0; round < 40; ++round) {
    for (int i = 0; i < 97; ++i) queue.Push(Event(QueuedKind::Press, pushed++));
    InputEvent event;
    for (int i = 0; i < 95 && queue.Pop(&event); ++i) ASSERT_EQ(event.x, taken++);
  }
  InputEvent event;
  while (queue.Pop(&event)) ASSERT_EQ(event.x, taken++);
  EXPECT_EQ(taken, pushed);
}

TEST(InputQueue, AFullQueueMakesTheListenerWaitForRoomNotLoseClicks) {
  InputQueue queue;
  for (uint32_t i = 0; i < InputQueue::kClickCapacity; ++i) queue.Push(Event(QueuedKind::Press, static_cast<int32_t>(i)));
  std::atomic<bool> pushed{false};
  std::thread listener([&] {
    queue.Push(Event(QueuedKind::Release, 9999));
    pushed = true;
  });
  // The listener cannot finish until a click is taken; moves still merge meanwhile.
  InputEvent event;
  ASSERT_TRUE(queue.Pop(&event));
  EXPECT_EQ(event.x, 0);
  listener.join();
  EXPECT_TRUE(pushed);
  std::vector<InputEvent> events = Drain(queue);
  ASSERT_EQ(events.size(), InputQueue::kClickCapacity);
  EXPECT_EQ(events.back().kind, QueuedKind::Release);
  EXPECT_EQ(events.back().x, 9999);
}

TEST(InputQueue, CloseFreesAListenerWaitingForRoomAndDropsLaterEvents) {
  InputQueue queue;
  for (uint32_t i = 0; i < InputQueue::kClickCapacity; ++i) queue.Push(Event(QueuedKind::Press, 1));
  std::atomic<int> result{-1};
  std::thread listener([&] { result = queue.Push(Event(QueuedKind::Press, 2)) ? 1 : 0; });
  queue.Close();
  listener.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_FALSE(queue.Push(Event(QueuedKind::Move, 3)));
  EXPECT_EQ(queue.Size(), InputQueue::kClickCapacity);
}

// The listener and the main thread at full speed: every click arrives once and
// in order, and no more moves or keys come out than went in.
TEST(InputQueue, TwoThreadsLoseNoClickAndKeepTheirOrder) {
  InputQueue queue;
  constexpr int32_t kClicks = 20000;
  std::thread listener([&] {
    for (int32_t i = 0; i < kClicks; ++i) {
      queue.Push(Event(QueuedKind::Move, i));
      queue.Push(Event(i % 2 == 0 ? QueuedKind::Press : QueuedKind::Release, i));
      queue.Push(Event(QueuedKind::Key, i));
    }
  });
  int32_t nextClick = 0;
  uint64_t moves = 0;
  uint64_t keys = 0;
  int32_t lastMove = -1;
  while (nextClick < kClicks) {
    InputEvent event;
    if (!queue.Pop(&event)) {
      std::this_thread::yield();
      continue;
    }
    if (event.kind == QueuedKind::Move) {
      EXPECT_GT(event.x, lastMove) << "a merged move is never older than one taken before";
      lastMove = event.x;
      moves += event.merged;
    } else if (event.kind == QueuedKind::Key) {
      keys += event.merged;
    } else {
      ASSERT_EQ(event.x, nextClick);
      ASSERT_EQ(event.kind, nextClick % 2 == 0 ? QueuedKind::Press : QueuedKind::Release);
      ++nextClick;
    }
  }
  listener.join();
  InputEvent event;
  while (queue.Pop(&event)) {
    if (event.kind == QueuedKind::Move) moves += event.merged;
    if (event.kind == QueuedKind::Key) keys += event.merged;
  }
  EXPECT_EQ(moves, static_cast<uint64_t>(kClicks)) << "merging keeps the count of what it stands for";
  EXPECT_EQ(keys, static_cast<uint64_t>(kClicks));
}

}  // namespace
