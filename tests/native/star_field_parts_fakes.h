// A host and surfaces of the test's own for the star field's parts: the
// host's clock is set by the test, and every surface writes what it was asked
// into a record that outlives it, so that a test sees a window's last state
// after its star went.
#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "stars/field_host.h"

struct SurfaceRecord {
  uintptr_t handle = 0;
  bool shown = false;
  bool closed = false;
  bool grabbed = false;
  int32_t number = 0;         // the last number drawn, 0 for none
  int32_t poofFrame = -1;     // the last poof frame shown
  int poofCentred = 0;        // how many poof frames moved the window to centre it
  int raises = 0;             // shows above every window
  int frameAdvances = 0;
  PixelPoint at{0, 0};
};

class FakeSurface final : public StarSurface {
 public:
  explicit FakeSurface(std::shared_ptr<SurfaceRecord> record) : r_(std::move(record)) {}
  ~FakeSurface() override { r_->closed = true; }
  uintptr_t Handle() const override { return r_->handle; }
  void ShowTopmostAt(PixelPoint corner) override {
    r_->at = corner;
    ShowTopmost();
  }
  void ShowTopmost() override {
    r_->shown = true;
    ++r_->raises;
  }
  void MoveTo(PixelPoint corner) override { r_->at = corner; }
  void Hide() override { r_->shown = false; }
  PixelPoint Position() const override { return r_->at; }
  void AdvanceFrame() override { ++r_->frameAdvances; }
  void RewindAnimation() override {}
  bool IsGrabbed() const override { return r_->grabbed; }
  bool ShowsNumber() const override { return r_->number > 1 && r_->poofFrame < 0; }
  void DrawNumber(int32_t n) override { r_->number = n; }
  void ShowPoofFrame(int32_t frame, bool centre) override {
    r_->poofFrame = frame;
    r_->poofCentred += centre ? 1 : 0;
  }

 private:
  std::shared_ptr<SurfaceRecord> r_;
};

class FakeHost final : public FieldHost {
 public:
  uint32_t Now() const override { return now; }
  bool StartTicks() override {
    ++ticksStarted;
    ticking = true;
    return true;
  }
  void StopTicks() override { ticking = false; }
  MonitorMetrics MonitorAt(PixelPoint) const override { return MonitorMetrics{0, 0, 1280, 1024, 96}; }
  int32_t Dpi() const override { return dpi; }
  int32_t PictureCount() const override { return static_cast<int32_t>(frames.size()); }
  bool PictureFrame(int32_t index, FrameShape* shape) const override {
    if (index < 0 || index >= PictureCount()) return false;
    *shape = frames[index];
    return true;
  }
  SurfaceOwner MakeSurface(int32_t) override {
    auto record = std::make_shared<SurfaceRecord>();
    record->handle = static_cast<uintptr_t>(surfaces.size() + 1);
    surfaces.push_back(record);
    return SurfaceOwner(new FakeSurface(record));
  }

  bool HearsLoads() const override { return hearsLoads; }
  void PicturesLoaded(uintptr_t serial) override { loadedSerial.store(serial); }
  void TrimMemory() override { ++trims; }

  uint32_t now = 1000;
  bool hearsLoads = false;
  std::atomic<uintptr_t> loadedSerial{0};  // set by the folder load's worker
  int trims = 0;
  int32_t dpi = 96;
  bool ticking = false;
  int ticksStarted = 0;
  std::vector<FrameShape> frames{{72, 72}};
  std::vector<std::shared_ptr<SurfaceRecord>> surfaces;  // in the order they were made
};
