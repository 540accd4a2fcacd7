// keyvane.exe: the window layer. It creates the windows, turns messages, the hook and the
// timer into calls of the keyboard, and the keyboard's requests into Win32 calls.
#include <windows.h>

#include <string>

#include "app/keyboard.h"
#include "app/placement.h"
#include "btnfile/special_names.h"
#include "win32/cp932_text.h"
#include "win32/message_boxes.h"
#include "win32/mouse_hook.h"
#include "win32/platform_roles.h"
#include "win32/shell_windows.h"
#include "win32/tray_icon.h"

namespace {

using keyvane::platform::PanelSide;
namespace win32 = keyvane::win32;

constexpr char kMutexName[] = "Keyvane Lanternworks";

// The executable's folder with its trailing backslash, in the ANSI code page the C runtime
// opens files with.
std::string ExeFolder() {
  char path[MAX_PATH * 2] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return keyvane::app::FolderOfPath(std::string_view(path, length));
}

std::wstring ExeFolderWide() {
  wchar_t path[MAX_PATH * 2] = L"";
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Opens or else creates the single-instance mutex. True when another copy holds it, also when
// that copy's mutex may not be opened: a copy run as administrator denies a normal start.
bool AnotherCopyRuns() {
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName)) return true;
  if (GetLastError() == ERROR_ACCESS_DENIED) return true;
  if (CreateMutexA(nullptr, TRUE, kMutexName)) return false;
  return GetLastError() == ERROR_ACCESS_DENIED;
}

void Run(HINSTANCE instance) {
  if (AnotherCopyRuns()) {
    // Flip the running copy's panels and end, touching nothing else.
    win32::Win32Desktop desktop;
    keyvane::app::TogglePanels(desktop);
    return;
  }

  win32::Win32Files files;
  win32::Win32Clock clock;
  win32::Win32Input input;
  win32::Win32Desktop desktop;
  win32::Win32InputMethod ime;
  win32::ShellWindows shell(instance);

  const std::wstring folder = ExeFolderWide();
  const win32::AboutFacts about{folder + win32::WideFromCp932(keyvane::btnfile::kButtonFileName),
                                folder + win32::WideFromCp932(keyvane::btnfile::kTraceFileName)};
  win32::TrayIcon tray(instance, [&](const keyvane::app::Keyboard& keyboard) {
    win32::ShowAboutBox(shell.ApplicationWindow(), shell.Panel(PanelSide::Left), about, keyboard.buttonFileStatus());
  });

  keyvane::app::Keyboard keyboard({files, clock, input, desktop, ime, shell}, ExeFolder());
  shell.Attach(keyboard, tray);
  tray.Attach(keyboard);
  win32::MouseHookRoute hookRoute(keyboard);

  keyboard.LoadButtons();
  keyboard.TakeTarget();

  shell.Create(PanelSide::Left);
  tray.Show();
  win32::Guarded([&] { keyboard.OnLeftPanelCreated(); });
  shell.Create(PanelSide::Right);
  win32::Guarded([&] { keyboard.OnRightPanelCreated(); });
  shell.StartTimer();
  ShowWindow(shell.ApplicationWindow(), SW_HIDE);
  win32::Guarded([&] { keyboard.OnStartedUp(); });

  shell.ShowPanel(PanelSide::Left);
  RunMessageLoop();

  // Right panel first: its destruction detaches the input from the target's thread.
  shell.Destroy(PanelSide::Right);
  shell.Destroy(PanelSide::Left);
  tray.Hide();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  win32::Guarded([&] { Run(instance); });
  return 0;
}
