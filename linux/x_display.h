// The star windows' own X connection: the 32-bit ARGB visual and its
// colormap, whether a compositing manager runs, and the events of the star
// windows, read in the Qt loop and handed to the window they name.
#pragma once
#include <xcb/xcb.h>

#include <QHash>
#include <QObject>

class QSocketNotifier;

// What a star window hears of the pointer.
class XWindowListener {
 public:
  virtual void OnButtonPress(const xcb_button_press_event_t& event) = 0;
  virtual void OnButtonRelease(const xcb_button_release_event_t& event) = 0;
  virtual void OnMotion(const xcb_motion_notify_event_t& event) = 0;

 protected:
  ~XWindowListener() = default;
};

class XDisplay : public QObject {
  Q_OBJECT

 public:
  XDisplay() = default;
  ~XDisplay() override;
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // Connects to the display of DISPLAY (or name) and finds what star windows
  // need; false when there is no display or no 32-bit ARGB visual.
  bool Open(const char* name = nullptr);

  xcb_connection_t* Connection() const { return connection_; }
  xcb_window_t Root() const { return root_; }
  xcb_visualid_t ArgbVisual() const { return argbVisual_; }
  xcb_colormap_t ArgbColormap() const { return colormap_; }
  int32_t ScreenWidth() const { return screenWidth_; }
  int32_t ScreenHeight() const { return screenHeight_; }
  // Dots per inch of the screen: Qt's device pixel ratio times 96.
  int32_t Dpi() const { return dpi_; }
  void SetDpi(int32_t dpi) { dpi_ = dpi; }
  // Whether per-pixel alpha shows: some client owns _NET_WM_CM_S0.
  bool Compositing() const { return compositing_; }
  bool HasShape() const { return hasShape_; }
  // A graphics context for 32-bit drawables.
  xcb_gcontext_t Gc32();
  // Largest put-image payload in bytes.
  uint32_t MaxRequestBytes() const { return maxRequestBytes_; }

  // A batch of requests goes out in one write.
  void Flush() { xcb_flush(connection_); }

  void Listen(xcb_window_t window, XWindowListener* listener) { listeners_.insert(window, listener); }
  void Forget(xcb_window_t window) { listeners_.remove(window); }

 private:
  // Hands out the events that have arrived: read from the socket when it
  // woke the loop, else only those a reply brought along (which the socket
  // will not tell of again), and sends what the handlers asked for.
  void Dispatch(bool readSocket);
  bool FindArgbVisual(const xcb_screen_t* screen);
  bool AskCompositing();

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_visualid_t argbVisual_ = 0;
  xcb_colormap_t colormap_ = 0;
  int32_t screenWidth_ = 0;
  int32_t screenHeight_ = 0;
  int32_t dpi_ = 96;
  bool compositing_ = false;
  bool hasShape_ = false;
  uint32_t maxRequestBytes_ = 0;
  xcb_gcontext_t gc32_ = 0;
  QSocketNotifier* notifier_ = nullptr;
  QHash<xcb_window_t, XWindowListener*> listeners_;
};
