#include "linux/kit/input_queue.h"

bool InputQueue::EmptyLocked() const { return clickCount_ == 0 && !move_.waiting && !key_.waiting; }

void InputQueue::MergeLocked(Slot* slot, const InputEvent& event) {
  uint32_t merged = slot->waiting ? slot->event.merged + event.merged : event.merged;
  slot->event = event;
  slot->event.merged = merged;
  // A merged event takes the place of the newest one it stands for.
  slot->order = nextOrder_++;
  slot->waiting = true;
}

bool InputQueue::Push(const InputEvent& event) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (closed_) return false;
  bool wasEmpty = EmptyLocked();
  switch (event.kind) {
    case QueuedKind::Move:
      MergeLocked(&move_, event);
      break;
    case QueuedKind::Key:
      MergeLocked(&key_, event);
      break;
    case QueuedKind::Press:
    case QueuedKind::Release: {
      room_.wait(lock, [this] { return closed_ || clickCount_ < kClickCapacity; });
      if (closed_) return false;
      // The main thread may have emptied the queue while we waited for room.
      wasEmpty = EmptyLocked();
      Click& click = clicks_[(clickHead_ + clickCount_) % kClickCapacity];
      click.event = event;
      click.event.merged = 1;
      click.order = nextOrder_++;
      ++clickCount_;
      break;
    }
  }
  return wasEmpty;
}

bool InputQueue::Pop(InputEvent* event) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The oldest of the three heads goes first.
  const uint64_t none = UINT64_MAX;
  uint64_t clickOrder = clickCount_ > 0 ? clicks_[clickHead_].order : none;
  uint64_t moveOrder = move_.waiting ? move_.order : none;
  uint64_t keyOrder = key_.waiting ? key_.order : none;
  if (clickOrder == none && moveOrder == none && keyOrder == none) return false;
  if (clickOrder < moveOrder && clickOrder < keyOrder) {
    *event = clicks_[clickHead_].event;
    clickHead_ = (clickHead_ + 1) % kClickCapacity;
    --clickCount_;
    room_.notify_one();
  } else if (moveOrder < keyOrder) {
    *event = move_.event;
    move_.waiting = false;
  } else {
    *event = key_.event;
    key_.waiting = false;
  }
  return true;
}

uint32_t InputQueue::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return clickCount_ + (move_.waiting ? 1 : 0) + (key_.waiting ? 1 : 0);
}

void InputQueue::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  room_.notify_all();
}
