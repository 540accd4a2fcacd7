#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyvane::platform {

// What the window system hands back travels through the core as plain integers; 0 means none.
using WindowHandle = std::intptr_t;
using ImeContext = std::intptr_t;
using ThreadId = std::uint32_t;

// Screen or window coordinates in pixels.
struct Point {
  int x = 0;
  int y = 0;

  bool operator==(const Point&) const = default;
};

// A rectangle by its top-left corner and size; both edges count as inside where a test says so.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const Rect&) const = default;
};

// The rest of the desktop as the core sees it: the window keys go to, the threads behind
// windows, the panels of a copy already running, and the screen's size.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The window with the keyboard focus on Keyvane's own thread; at start-up, the one typed into.
  virtual WindowHandle FocusWindow() = 0;
  // The window the user works in now; 0 when there is none.
  virtual WindowHandle ForegroundWindow() = 0;
  // Gives the keyboard focus to a window, so that the first press reaches it.
  virtual void GiveFocus(WindowHandle window) = 0;
  // Brings a window back to the front after one of Keyvane's own windows had it.
  virtual void BringToForeground(WindowHandle window) = 0;
  // A window's title: at most 999 bytes, empty for 0 or a vanished window.
  virtual std::string WindowTitle(WindowHandle window) = 0;
  // A window's class name, empty for 0 or a vanished window.
  virtual std::string WindowClass(WindowHandle window) = 0;
  // A window's first child, where an input-method context may live; 0 when there is none.
  virtual WindowHandle FirstChild(WindowHandle window) = 0;
  // A direct child of the window with that class name; 0 when there is none.
  virtual WindowHandle ChildOfClass(WindowHandle window, std::string_view className) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  // The window's program has not taken its messages for a while.
  virtual bool IsHung(WindowHandle window) = 0;
  // The integrity level of the program behind a window, and Keyvane's own (0x2000 medium, 0x3000
  // high: run as administrator). Windows keeps a program from sending input to a higher one.
  // None where the system has no such levels (Windows XP) or the level cannot be read.
  virtual std::optional<std::uint32_t> IntegrityLevel(WindowHandle window) = 0;
  virtual std::optional<std::uint32_t> OwnIntegrityLevel() = 0;
  // Windows refuses Keyvane's messages to the window for lack of rights, and so drops its keys
  // too: the program runs as administrator, or under another account with higher rights.
  // Learned from a harmless message, where the level may not be readable.
  virtual bool IsOutOfReach(WindowHandle window) = 0;

  // The file name of the program behind a window ("NOTEPAD.EXE", as the disk spells it), in code
  // page 932; none when its process cannot be opened or the name has a character code page 932 lacks.
  virtual std::optional<std::string> ProgramName(WindowHandle window) = 0;

  // The thread that runs a window; 0 for 0 or a vanished window.
  virtual ThreadId WindowThread(WindowHandle window) = 0;
  // Keyvane's own user-interface thread.
  virtual ThreadId CurrentThread() = 0;
  // The window that has the keyboard focus on that thread (any process); 0 when none.
  virtual WindowHandle FocusedWindow(ThreadId thread) = 0;
  // Joins or leaves the keyboard input of another thread, so that keys sent from here land in
  // that thread's focused window. False when Windows refuses (a system thread, a thread of
  // another desktop or of a program with higher rights).
  virtual bool JoinInput(ThreadId own, ThreadId other, bool join) = 0;
  // The thread that runs the taskbar, whose windows (the notification area and its flyouts
  // among them) are the shell's; 0 when there is no taskbar.
  virtual ThreadId TaskbarThread() = 0;

  // A top-level window by its exact title, to reach the panels of a copy already running; 0 when none.
  virtual WindowHandle FindTopLevelWindow(std::string_view title) = 0;
  // Shows a window without activating it, so the keyboard focus stays where it is; true when it
  // was visible before.
  virtual bool Show(WindowHandle window) = 0;
  virtual void Hide(WindowHandle window) = 0;

  // The screen's width, read every time so a changed screen is followed.
  virtual int ScreenWidth() = 0;
  // The width of a vertical scroll bar and of a window's sunken edge, which the right panel keeps clear of.
  virtual int VerticalScrollBarWidth() = 0;
  virtual int EdgeWidth() = 0;
};

}  // namespace keyvane::platform
