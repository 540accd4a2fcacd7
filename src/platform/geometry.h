#pragma once

namespace keyvane::platform {

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

}  // namespace keyvane::platform
