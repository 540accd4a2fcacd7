#include "win32/visual_styles.h"

#include <windows.h>

#include "win32/resource_ids.h"

namespace keyvane::win32 {

void WithVisualStyles(const std::function<void()>& show) {
  ACTCTXW manifest{};
  manifest.cbSize = sizeof manifest;
  manifest.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  manifest.hModule = GetModuleHandleW(nullptr);
  manifest.lpResourceName = MAKEINTRESOURCEW(KEYVANE_VISUAL_STYLES_MANIFEST);
  HANDLE context = CreateActCtxW(&manifest);
  ULONG_PTR cookie = 0;
  // Without the context the dialogs still work, in the classic look.
  const bool active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
  struct Restore {
    HANDLE context;
    bool active;
    ULONG_PTR cookie;
    ~Restore() {
      if (active) DeactivateActCtx(0, cookie);
      if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
    }
  } restore{context, active, cookie};
  show();
}

}  // namespace keyvane::win32
