#pragma once

namespace keyvane::platform {

// Screen metrics, read every time they are needed so a changed screen is followed.
class Screen {
 public:
  virtual ~Screen() = default;
  // GetSystemMetrics(SM_CXSCREEN).
  virtual int Width() = 0;
  // GetSystemMetrics(SM_CXVSCROLL).
  virtual int VerticalScrollBarWidth() = 0;
  // GetSystemMetrics(SM_CXEDGE).
  virtual int EdgeWidth() = 0;
};

}  // namespace keyvane::platform
