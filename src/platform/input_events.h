#pragma once

#include <cstdint>

namespace keyvane::platform {

enum class KeyDirection { Down, Up };
enum class MouseButton { Left, Right, Middle };

// Synthetic input into the system's input stream.
class InputEvents {
 public:
  virtual ~InputEvents() = default;
  // One key as a physical keyboard sends it: with its scan code and, for a key of the extended
  // set (arrows, Home, Insert, ...), the extended-key mark.
  virtual void KeyEvent(std::uint8_t virtualKey, KeyDirection direction, bool extended) = 0;
  // A mouse button acting where the cursor is, without moving it. It is marked as Keyvane's own,
  // so that the mouse hook can tell it from a touch.
  virtual void MouseButtonEvent(MouseButton button, KeyDirection direction) = 0;
};

}  // namespace keyvane::platform
