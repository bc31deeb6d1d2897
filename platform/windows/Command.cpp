#include "platform/Command.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/windows/PreparedEnvironment.h"
#include "platform/windows/WideText.h"

namespace platform {

namespace {

// CreateProcessW's limit, the terminating zero included.
constexpr std::size_t longestCommandLine = 32767;
constexpr std::wstring_view reasonEnd = L"): ";

std::wstring commandInterpreter() {
  const DWORD size = GetEnvironmentVariableW(L"ComSpec", nullptr, 0);
  if (size > 1) {
    std::wstring path(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"ComSpec", path.data(), size);
    if (length > 0 && length < size) {
      path.resize(length);
      return path;
    }
  }
  // The system's own copy, never one that lies in the working directory.
  std::wstring folder(MAX_PATH, L'\0');
  const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size()) return L"cmd.exe";
  folder.resize(length);
  return folder + L"\\cmd.exe";
}

// cmd.exe drops the first and the last double quote of what follows /c, so
// a command that itself begins with a quoted program path arrives intact.
std::wstring interpreterLine(const std::wstring& interpreter, std::string_view commandLine) {
  std::wstring line = L"\"";
  line.append(interpreter).append(L"\" /c \"").append(windows::toWide(commandLine)).append(L"\"");
  return line;
}

std::string errorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(error);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.ends_with(L'.')) message.pop_back();
  for (std::size_t at = message.find(reasonEnd); at != std::wstring::npos; at = message.find(reasonEnd, at)) {
    message.erase(at + 1, 1);
  }
  return windows::toUtf8(message);
}

// What CreateProcessW's failure means to the user.
std::string startFailure(DWORD error, const std::wstring& interpreter) {
  switch (error) {
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
    case ERROR_COMMITMENT_LIMIT:
    case ERROR_MAX_THRDS_REACHED:
    case ERROR_TOO_MANY_OPEN_FILES:
      return "no new process: " + errorText(error);
    case ERROR_FILENAME_EXCED_RANGE:
      return "the system refused the command line: " + errorText(error);
    default: {
      const std::string shown =
          interpreter.find(reasonEnd) == std::wstring::npos ? windows::toUtf8(interpreter) : "named in ComSpec";
      return "no interpreter " + shown + ": " + errorText(error);
    }
  }
}

// The NUL device, inheritable: the one handle a command gets from the daemon.
class NulDevice {
 public:
  NulDevice() {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    handle_ = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                          OPEN_EXISTING, 0, nullptr);
  }
  NulDevice(const NulDevice&) = delete;
  NulDevice& operator=(const NulDevice&) = delete;
  ~NulDevice() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Lets the command inherit the given handle and no other, whatever other
// inheritable handles another thread holds at that moment.
class InheritedHandles {
 public:
  explicit InheritedHandles(HANDLE handle) : handle_(handle) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    initialised_ = size > 0 && InitializeProcThreadAttributeList(list_, 1, 0, &size);
    valid_ = initialised_ && UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_,
                                                       sizeof handle_, nullptr, nullptr);
  }
  InheritedHandles(const InheritedHandles&) = delete;
  InheritedHandles& operator=(const InheritedHandles&) = delete;
  ~InheritedHandles() {
    if (initialised_) DeleteProcThreadAttributeList(list_);
  }

  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return valid_ ? list_ : nullptr; }

 private:
  HANDLE handle_;
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
  bool initialised_ = false;
  bool valid_ = false;
};

// The started process's handle, or the reason there is none.
struct Started {
  HANDLE process = nullptr;
  std::string failure;
};

Started startInterpreter(std::string_view commandLine, const CommandEnvironment& environment) {
  if (commandLine.find('\0') != std::string_view::npos) return {nullptr, "the command holds a zero byte"};
  const std::wstring interpreter = commandInterpreter();
  std::wstring line = interpreterLine(interpreter, commandLine);
  if (line.size() >= longestCommandLine) return {nullptr, commandLineRefusal(commandLine)};
  // Standard input, output and error all on the NUL device: a command that
  // reads its input ends it at once. Its output went to the invisible console
  // of CREATE_NO_WINDOW before, where nobody could read it either.
  const NulDevice nul;
  if (nul.get() == INVALID_HANDLE_VALUE) return {nullptr, "no new process: " + errorText(GetLastError())};
  const InheritedHandles inherited(nul.get());
  if (inherited.get() == nullptr) return {nullptr, "no new process: " + errorText(GetLastError())};
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = nul.get();
  startup.StartupInfo.hStdOutput = nul.get();
  startup.StartupInfo.hStdError = nul.get();
  startup.lpAttributeList = inherited.get();
  PROCESS_INFORMATION process{};
  const CommandEnvironment::Prepared* prepared = environment.prepared();
  // CreateProcessW only reads the block; null is the daemon's own environment.
  void* block = prepared != nullptr ? const_cast<wchar_t*>(prepared->block.c_str()) : nullptr;
  // A group of its own: a console control event the command sends to its
  // group reaches neither the daemon nor other commands.
  const DWORD flags =
      CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, block, nullptr, &startup.StartupInfo,
                      &process)) {
    return {nullptr, startFailure(GetLastError(), interpreter)};
  }
  CloseHandle(process.hThread);
  return {process.hProcess, {}};
}

}  // namespace

std::string startCommand(std::string_view commandLine, const CommandEnvironment& environment) {
  const Started started = startInterpreter(commandLine, environment);
  // Windows keeps nothing of an ended process whose handles are closed.
  if (started.process != nullptr) CloseHandle(started.process);
  return started.failure;
}

bool runCommand(std::string_view commandLine, const CommandEnvironment& environment) {
  const Started started = startInterpreter(commandLine, environment);
  if (started.process == nullptr) return false;
  WaitForSingleObject(started.process, INFINITE);
  CloseHandle(started.process);
  return true;
}

std::string commandLineRefusal(std::string_view commandLine) {
  if (interpreterLine(commandInterpreter(), commandLine).size() < longestCommandLine) return {};
  return "longer than the " + std::to_string(longestCommandLine) +
         " characters the system can pass, with the interpreter's path";
}

std::size_t longestAsciiCommandLine() {
  return longestCommandLine - 1 - interpreterLine(commandInterpreter(), "").size();
}

}  // namespace platform
