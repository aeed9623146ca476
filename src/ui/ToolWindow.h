#pragma once
// The modeless windows the main window owns (the problem window, the map
// picture, those still to come), with what they share: each opens beside the
// main window, or where the player left it earlier in the run; it is shown
// or brought to the front by the same command; Esc closes it; and once its
// last message is over its owner releases it. The owner keeps them in one
// ToolWindows list, which also gives their keys to the message loop.

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "ui/BaseWindow.h"

// Where a tool window was left when it closed, at its size, for its next
// opening; what a window alone remembers, it keeps itself.
struct ToolWindowMemory {
  std::optional<RECT> frame;
};

// Where a tool window is to open.
struct ToolWindowPlace {
  HWND owner = nullptr;
  ToolWindowMemory* memory = nullptr;
  std::vector<RECT> others;  // the tool windows already open
};

class ToolWindow : public BaseWindow {
 public:
  // Posted to the owner when a tool window has gone: time to release it.
  static UINT ReleaseMessage();

  // Shows the window, or brings it to the front, with the keyboard on its
  // main control.
  void BringToFront();
  // Keys that are the window's whatever control has the focus, for the
  // message loop; true when used. Esc closes the window.
  virtual bool PreTranslateMessage(const MSG& message);

 protected:
  explicit ToolWindow(ToolWindowPlace place);

  // Creates the window, owned by the place's owner, with a frame for a
  // client area of `client` screen pixels (a window that wants more than the
  // work area gets the work area); args' place and size are not used.
  void CreateToolWindow(WindowArgs args, SIZE client);
  // A size at 96 dots per inch in pixels of the owner's monitor.
  SIZE ScaledForOwner(int width, int height) const;
  // Where the keyboard goes when the window comes to the front.
  virtual HWND KeyboardTarget() const { return Window(); }
  // Closing, and telling the owner once the window has gone. A subclass
  // hands every message it does not handle on to this.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  RECT FrameToOpen(SIZE wanted) const;
  void RememberFrame();

  ToolWindowPlace place_;
  ToolWindowMemory fallbackMemory_;  // for a window nobody keeps a memory for
  ToolWindowMemory& memory_;
};

// The tool windows of one owner.
class ToolWindows {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }

  // Keeps `slot` among the tool windows: `released`, if any, runs after the
  // window in it has been released.
  template <typename Window>
  void Add(WindowPtr<Window>& slot, std::function<void()> released = {}) {
    Slot entry;
    entry.key = &slot;
    entry.window = [&slot]() -> ToolWindow* { return slot.get(); };
    entry.reset = [&slot] { slot.reset(); };
    entry.released = std::move(released);
    slots_.push_back(std::move(entry));
  }

  // The window of `slot`, made now if it is not open, with `arguments` after its place.
  template <typename Window, typename... Arguments>
  Window& Open(WindowPtr<Window>& slot, Arguments&&... arguments) {
    if (!slot) slot = MakeWindow<Window>(PlaceFor(&slot), std::forward<Arguments>(arguments)...);
    return *slot;
  }

  bool PreTranslateMessage(const MSG& message) const;
  // Releases the windows that have gone; on ToolWindow::ReleaseMessage.
  void ReleaseClosed();

 private:
  struct Slot {
    const void* key;
    std::function<ToolWindow*()> window;
    std::function<void()> reset;
    std::function<void()> released;
    ToolWindowMemory memory;
  };
  ToolWindowPlace PlaceFor(const void* key);

  HWND owner_ = nullptr;
  std::vector<Slot> slots_;
};
