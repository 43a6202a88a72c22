// Every program's input, heard without grabbing anything: XInput 2 raw
// events selected on the root window (left button press and release, motion,
// key press), read on a thread with its own X connection, so no program's
// input ever waits on this one. Raw events carry no place: the pointer's is
// asked of the server for a press and a move.
#pragma once
#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <thread>

// Where the listener puts what it hears; called on the listener's thread.
class RawInputSink {
 public:
  virtual void OnRawClick(int32_t x, int32_t y) = 0;
  virtual void OnRawRelease() = 0;
  virtual void OnRawMove(int32_t x, int32_t y) = 0;
  virtual void OnRawKey() = 0;

 protected:
  ~RawInputSink() = default;
};

class InputListener {
 public:
  InputListener() = default;
  // Stops the thread.
  ~InputListener();
  InputListener(const InputListener&) = delete;
  InputListener& operator=(const InputListener&) = delete;

  // Connects, selects the raw events and starts the thread; false when the
  // display or its XInput 2 is missing. The sink outlives the listener.
  bool Start(RawInputSink* sink, bool moves);
  void Stop();

 private:
  void Run();
  bool QueryPointer(int32_t* x, int32_t* y);

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
  uint8_t xiOpcode_ = 0;
  int stopFd_ = -1;  // an eventfd that ends the thread's wait
  RawInputSink* sink_ = nullptr;
  std::thread thread_;
};
