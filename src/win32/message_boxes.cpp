#include "win32/message_boxes.h"

#include <functional>
#include <vector>

#include "win32/cp932_text.h"
#include "win32/guarded.h"
#include "win32/resource_ids.h"

namespace keyvane::win32 {
namespace {

// Runs `show` with the version-6 common controls active, so the dialogs it opens look as the
// system's own do. The program as a whole does without them: its buttons are owner-drawn.
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

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// From the top of the stacking order: the application's topmost windows until the first one
// that is not topmost or is the left panel; windows of other owners are passed over.
std::vector<HWND> RelaxTopmost(HWND applicationWindow, HWND leftPanel) {
  std::vector<HWND> relaxed;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (GetWindow(w, GW_OWNER) != applicationWindow) continue;
    if (w == leftPanel || !IsTopmost(w)) break;
    relaxed.push_back(w);
  }
  for (HWND w : relaxed) SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return relaxed;
}

void RestoreTopmost(const std::vector<HWND>& relaxed) {
  for (HWND w : relaxed) SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::wstring Text(const AboutFacts& facts, const app::ButtonFileStatus& status) {
  std::wstring text = L"Keyvane " KEYVANE_VERSION L"\n\nButton file:\n" + facts.buttonFilePath + L"\n";
  if (status.fileRead) {
    text += std::to_wstring(status.mapCount) + (status.mapCount == 1 ? L" map" : L" maps");
    text += L", " + std::to_wstring(status.problemCount) + (status.problemCount == 1 ? L" problem" : L" problems");
  } else {
    text += L"not found or unreadable: no maps";
  }
  text += L"\n\nTrace file:\n" + facts.traceFilePath;
  return text;
}

}  // namespace

void ShowErrorBox(const char* message) {
  const std::wstring text = WideFromCp932(message);
  WithVisualStyles([&] { MessageBoxW(nullptr, text.c_str(), L"Keyvane", MB_OK | MB_ICONERROR | MB_TASKMODAL); });
}

void ShowAboutBox(HWND applicationWindow, HWND leftPanel, const AboutFacts& facts,
                  const app::ButtonFileStatus& status) {
  const std::vector<HWND> relaxed = RelaxTopmost(applicationWindow, leftPanel);
  // Task-modal: the panels do not react until the box is closed.
  WithVisualStyles([&] {
    MessageBoxW(nullptr, Text(facts, status).c_str(), L"About Keyvane", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
  });
  RestoreTopmost(relaxed);
}

}  // namespace keyvane::win32
