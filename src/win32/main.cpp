// keyvane.exe: the window layer. It creates the windows, turns messages, the hook and the
// timer into calls of the keyboard, and the keyboard's requests into Win32 calls.
#include <windows.h>

#include <string>

#include "app/keyboard.h"
#include "app/placement.h"
#include "btnfile/special_names.h"
#include "win32/guarded.h"
#include "win32/message_boxes.h"
#include "win32/mouse_hook.h"
#include "win32/platform_roles.h"
#include "win32/shell_windows.h"
#include "win32/tray_icon.h"

namespace {

using keyvane::platform::PanelSide;
namespace win32 = keyvane::win32;

constexpr char kMutexName[] = "Keyvane Lanternworks";

// The executable's folder with its trailing backslash, in UTF-16: any folder name, whatever the
// ANSI code page. A path that fills the buffer may have been cut, so it is read again into a larger one.
std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size() || path.size() >= 32768) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Opens or else creates the single-instance mutex. True when another copy holds it, also when
// that copy's mutex may not be opened: a copy run as administrator denies a normal start. A copy
// started at the same instant may create it between the open and the create: the create then
// hands back that copy's mutex.
bool AnotherCopyRuns() {
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName)) return true;
  if (GetLastError() == ERROR_ACCESS_DENIED) return true;
  if (CreateMutexA(nullptr, TRUE, kMutexName)) return GetLastError() == ERROR_ALREADY_EXISTS;
  return GetLastError() == ERROR_ACCESS_DENIED;
}

// Destroys the panels when Run ends, however it ends, while what their messages go to still
// lives: the right panel first, its destruction detaches the input from the target's thread.
class PanelsGoFirst {
 public:
  explicit PanelsGoFirst(win32::ShellWindows& shell) : shell_(shell) {}
  ~PanelsGoFirst() {
    shell_.Destroy(PanelSide::Right);
    shell_.Destroy(PanelSide::Left);
  }
  PanelsGoFirst(const PanelsGoFirst&) = delete;
  PanelsGoFirst& operator=(const PanelsGoFirst&) = delete;

 private:
  win32::ShellWindows& shell_;
};

void Run(HINSTANCE instance) {
  if (AnotherCopyRuns()) {
    // Flip the running copy's panels and end, touching nothing else.
    win32::Win32Desktop desktop;
    keyvane::app::TogglePanels(desktop);
    return;
  }

  win32::Win32Files files(ProgramFolder());
  win32::Win32Clock clock;
  win32::Win32Input input;
  win32::Win32Desktop desktop;
  win32::Win32InputMethod ime;
  win32::TrayIcon tray(instance);
  win32::ShellWindows shell(instance, tray, ProgramFolder());

  const win32::AboutFacts about{files.PathOf(keyvane::btnfile::kButtonFileName),
                                files.PathOf(keyvane::btnfile::kTraceFileName)};
  keyvane::app::Keyboard keyboard({files, clock, input, desktop, ime, shell});
  // What the windows' messages go to, built after the keyboard, so they go before it.
  win32::PanelMessages panelMessages(keyboard, desktop);
  const win32::TrayMenu trayMenu(tray, keyboard, [&](const keyvane::app::Keyboard& shown) {
    win32::ShowAboutBox(shell.ApplicationWindow(), shell.Panel(PanelSide::Left), about, shown.buttonFileStatus());
  });
  win32::MouseHookRoute hookRoute(keyboard);
  const PanelsGoFirst panelsGoFirst(shell);

  keyboard.LoadButtons();
  keyboard.TakeTarget();

  shell.Create(PanelSide::Left, panelMessages);
  win32::Guarded([&] { keyboard.OnLeftPanelCreated(); });
  shell.Create(PanelSide::Right, panelMessages);
  win32::Guarded([&] { keyboard.OnRightPanelCreated(); });
  shell.StartTimer();
  ShowWindow(shell.ApplicationWindow(), SW_HIDE);
  shell.ShowPanel(PanelSide::Left);
  // The panels first: adding the icon waits for the shell, a good part of the start-up. A tap
  // meanwhile waits in the queue; the balloon needs the icon.
  tray.Show();
  win32::Guarded([&] { keyboard.OnStartedUp(); });

  RunMessageLoop();
  win32::Guarded([&] { keyboard.OnLoopEnded(); });
  // The panels go, then the icon, as the objects above end in the reverse of their order.
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  win32::Guarded([&] { Run(instance); });
  return 0;
}
