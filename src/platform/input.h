#pragma once

#include <cstdint>
#include <optional>

#include "platform/desktop.h"

namespace keyvane::platform {

enum class KeyDirection { Down, Up };
enum class MouseButton { Left, Right, Middle };

// Where a mouse message comes from.
enum class InputOrigin {
  User,     // a touch, a mouse, another program
  Keyvane,  // a mouse-button key that Keyvane itself sent (SendMouseButton)
};

// The system's input stream: synthetic keys and mouse buttons, and the cursor.
class Input {
 public:
  virtual ~Input() = default;
  // One key as a physical keyboard sends it: with its scan code and, for a key of the extended
  // set (arrows, Home, Insert, ...), the extended-key mark.
  virtual void SendKey(std::uint8_t virtualKey, KeyDirection direction, bool extended) = 0;
  // A mouse button acting where the cursor is, without moving it. It is marked as Keyvane's own,
  // so that the mouse hook can tell it from a touch.
  virtual void SendMouseButton(MouseButton button, KeyDirection direction) = 0;
  // Returns once the thread whose input Keyvane's thread is joined with has taken every key sent
  // so far out of the input they share, or after a fifth of a second at most. A thread handles
  // the requests sent to it before the keys still waiting in its input: a request that must
  // follow the keys waits here first.
  virtual void WaitUntilKeysTaken() = 0;
  // The cursor in screen coordinates; none while it cannot be read, as while another desktop
  // has the input (the lock screen, a UAC prompt, another user's session).
  virtual std::optional<Point> CursorPosition() = 0;
  virtual void MoveCursor(Point point) = 0;
};

}  // namespace keyvane::platform
