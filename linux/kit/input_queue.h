// The listener thread's input on its way to the main thread. Clicks (presses
// and releases) are kept in order and never dropped; moves and keys are
// merged, so at most one of each waits however fast they come: a newer move
// replaces the waiting one (the latest place is the one worth showing), a
// newer key joins the waiting one. Nothing here allocates after construction.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

enum class QueuedKind : uint8_t { Press, Release, Move, Key };

struct InputEvent {
  QueuedKind kind = QueuedKind::Press;
  int32_t x = 0;
  int32_t y = 0;
  uint32_t timeMs = 0;  // the server's time of the (latest) event
  uint32_t merged = 1;  // events this one stands for (moves and keys)
};

class InputQueue {
 public:
  // Clicks that may wait at once; a full queue makes the listener wait for
  // room rather than lose one.
  static constexpr uint32_t kClickCapacity = 256;

  InputQueue() = default;
  InputQueue(const InputQueue&) = delete;
  InputQueue& operator=(const InputQueue&) = delete;

  // Adds an event. true when the queue was empty before, so the caller wakes
  // the main thread once per batch rather than once per event. After Close,
  // events are dropped and false is returned.
  bool Push(const InputEvent& event);

  // Takes the oldest waiting event into *event; false when none waits.
  bool Pop(InputEvent* event);

  // Events waiting now (a merged move or key counts once).
  uint32_t Size() const;

  // Ends the queue's life: a listener waiting for room returns at once and
  // later pushes are dropped, so the listener thread can always be joined.
  void Close();

 private:
  struct Slot {
    InputEvent event;
    uint64_t order = 0;  // arrival order, so merged kinds keep their place
    bool waiting = false;
  };
  struct Click {
    InputEvent event;
    uint64_t order = 0;
  };

  bool EmptyLocked() const;
  void MergeLocked(Slot* slot, const InputEvent& event);

  mutable std::mutex mutex_;
  std::condition_variable room_;
  Click clicks_[kClickCapacity];
  uint32_t clickHead_ = 0;
  uint32_t clickCount_ = 0;
  Slot move_;
  Slot key_;
  uint64_t nextOrder_ = 0;
  bool closed_ = false;
};
