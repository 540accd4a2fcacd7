#pragma once

#include "platform/geometry.h"

namespace keyvane::platform {

// The mouse cursor, in screen coordinates.
class Cursor {
 public:
  virtual ~Cursor() = default;
  // GetCursorPos.
  virtual Point Position() = 0;
  // SetCursorPos.
  virtual void MoveTo(Point point) = 0;
};

}  // namespace keyvane::platform
