#include "platform/StopSignal.h"

#include <windows.h>

#include <atomic>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// The system ends the process as soon as a session-end or console-close
// handler returns; holding it back gives the orderly stop its time. The
// process ends anyway once main has returned.
constexpr DWORD orderlyStopGraceMs = 10'000;

constexpr wchar_t windowClassName[] = L"PlandekStopWindow";

// Shared with threads of the system's (console events) and with the hidden
// window's thread, which both live until the process ends: never destroyed.
struct Listening {
  std::mutex mutex;
  std::function<void()> onStop;
  unsigned stopsHeard = 0;
  std::atomic<HWND> window{nullptr};
  std::once_flag windowStarted;
};

Listening& listening() {
  static Listening* const shared = new Listening;
  return *shared;
}

// False when no StopSignal is listening.
bool notifyStop() {
  Listening& shared = listening();
  const std::lock_guard lock(shared.mutex);
  if (!shared.onStop) return false;
  ++shared.stopsHeard;
  shared.onStop();
  return true;
}

BOOL WINAPI onConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return notifyStop() ? TRUE : FALSE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      if (!notifyStop()) return FALSE;
      Sleep(orderlyStopGraceMs);
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT CALLBACK onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE && notifyStop()) Sleep(orderlyStopGraceMs);
      return 0;
    case WM_CLOSE:
      // Kept open whether or not anyone listens: the window serves the whole run.
      notifyStop();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A program without a console hears of the session's end only through a
// top-level window; a message-only window would not be told.
void runStopWindow(std::promise<void> created) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = onWindowMessage;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = windowClassName;
  HWND window = nullptr;
  if (RegisterClassW(&windowClass) != 0) {
    window = CreateWindowExW(0, windowClassName, L"plandek", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                             instance, nullptr);
  }
  listening().window.store(window);
  created.set_value();
  if (window == nullptr) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

void startStopWindow() {
  std::promise<void> created;
  std::future<void> done = created.get_future();
  try {
    std::thread(runStopWindow, std::move(created)).detach();
  } catch (const std::system_error&) {
    return;
  }
  done.wait();
}

}  // namespace

struct StopSignal::Listener {
  bool listening = false;
  unsigned stopsHeardBefore = 0;
};

// No SIGHUP here: `onReload` is never called.
StopSignal::StopSignal(std::function<void()> onStop, std::function<void()>) : listener_(std::make_unique<Listener>()) {
  Listening& shared = listening();
  {
    const std::lock_guard lock(shared.mutex);
    shared.onStop = std::move(onStop);
    listener_->stopsHeardBefore = shared.stopsHeard;
  }
  std::call_once(shared.windowStarted, [] {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    startStopWindow();
  });
  listener_->listening = true;
}

StopSignal::~StopSignal() {
  Listening& shared = listening();
  const std::lock_guard lock(shared.mutex);
  // After a stop the process is on its way out in order: later requests are
  // taken and do nothing, rather than end it half-way.
  if (shared.stopsHeard != listener_->stopsHeardBefore) {
    shared.onStop = [] {};
  } else {
    shared.onStop = nullptr;
  }
}

bool StopSignal::isListening() const { return listener_->listening; }

bool requestStopOfThisProcess() {
  const HWND window = listening().window.load();
  return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
}

bool requestReloadOfThisProcess() { return false; }

}  // namespace platform
