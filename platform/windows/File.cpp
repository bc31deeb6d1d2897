#include "platform/File.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace platform {

namespace {

constexpr std::int64_t largestTransfer = std::int64_t{1} << 30;

HANDLE nativeOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Other programs may go on reading, writing and even deleting the file. The
// handle is not inheritable: commands the daemon starts must not hold its files.
HANDLE createFile(std::string_view utf8Path, DWORD access, DWORD disposition, DWORD flags) {
  const std::wstring path = windows::toWide(utf8Path);
  if (path.empty() || path.find(L'\0') != std::wstring::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     &security, disposition, flags, nullptr);
}

// Counts in `written` what went in before a failure.
bool writeAll(HANDLE handle, const void* buffer, std::int64_t size, std::int64_t& written) {
  const auto* bytes = static_cast<const char*>(buffer);
  while (written < size) {
    const std::int64_t left = size - written;
    const auto request = static_cast<DWORD>(left < largestTransfer ? left : largestTransfer);
    DWORD count = 0;
    if (!WriteFile(handle, bytes + written, request, &count, nullptr) || count == 0) {
      written += count;
      return false;
    }
    written += count;
  }
  return true;
}

File::Identity identityOf(const BY_HANDLE_FILE_INFORMATION& information) {
  return {information.dwVolumeSerialNumber,
          (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

File::OpenError openErrorOf(DWORD error) {
  return error == ERROR_TOO_MANY_OPEN_FILES ? File::OpenError::noFreeHandle : File::OpenError::failed;
}

bool isFolder(std::string_view utf8Path) {
  const DWORD attributes = GetFileAttributesW(windows::toWide(utf8Path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

File File::openForReading(std::string_view utf8Path) {
  HANDLE handle = createFile(utf8Path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED && isFolder(utf8Path)) {
    // A folder opens, as on POSIX, and tells itself by isRegularFile rather
    // than by a denied access.
    handle = createFile(utf8Path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE) SetLastError(ERROR_ACCESS_DENIED);
  }
  if (handle == INVALID_HANDLE_VALUE) return File(openErrorOf(GetLastError()));
  return File(reinterpret_cast<std::intptr_t>(handle));
}

File File::openForWriting(std::string_view utf8Path) {
  const HANDLE handle = createFile(utf8Path, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  if (handle == INVALID_HANDLE_VALUE) return File(openErrorOf(GetLastError()));
  return File(reinterpret_cast<std::intptr_t>(handle));
}

File File::openForAppending(std::string_view utf8Path) {
  // Append data without write data: the system puts every write at the end.
  const HANDLE handle =
      createFile(utf8Path, FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  if (handle == INVALID_HANDLE_VALUE) return File(openErrorOf(GetLastError()));
  return File(reinterpret_cast<std::intptr_t>(handle));
}

std::int64_t File::read(void* buffer, std::int64_t size) {
  if (!isOpen() || size < 0) return -1;
  const auto request = static_cast<DWORD>(size < largestTransfer ? size : largestTransfer);
  DWORD count = 0;
  if (!ReadFile(nativeOf(handle_), buffer, request, &count, nullptr)) return -1;
  return count;
}

bool File::write(const void* buffer, std::int64_t size) {
  std::int64_t written = 0;
  return isOpen() && size >= 0 && writeAll(nativeOf(handle_), buffer, size, written);
}

std::optional<File::Identity> File::identity() const {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!isOpen() || !GetFileInformationByHandle(nativeOf(handle_), &information)) return std::nullopt;
  return identityOf(information);
}

File::NameLookup File::identityAt(std::string_view utf8Path) {
  // No access asked for: only the identity is read. Backup semantics let a
  // folder be opened too.
  const HANDLE handle = createFile(utf8Path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (handle == INVALID_HANDLE_VALUE) {
    // Access denied is not absence: a file deleted while others hold it open
    // keeps its name, and answers so, until they close it.
    const DWORD error = GetLastError();
    const bool absent =
        error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
    return {absent ? NameLookup::Outcome::absent : NameLookup::Outcome::unknown, {}};
  }
  BY_HANDLE_FILE_INFORMATION information{};
  const bool read = GetFileInformationByHandle(handle, &information);
  CloseHandle(handle);
  if (!read) return {NameLookup::Outcome::unknown, {}};
  return {NameLookup::Outcome::found, identityOf(information)};
}

bool File::isRegularFile() const {
  // Pipes and devices (NUL, CON, COM1...) are not disk files; a folder opened
  // with backup semantics is one, but carries the folder's attribute.
  if (!isOpen() || GetFileType(nativeOf(handle_)) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  return GetFileInformationByHandle(nativeOf(handle_), &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

File::WriteExposure File::writeExposure() const { return {}; }

bool File::isInheritedByChildProcesses() const {
  DWORD flags = 0;
  return isOpen() && GetHandleInformation(nativeOf(handle_), &flags) && (flags & HANDLE_FLAG_INHERIT) != 0;
}

bool File::truncate(std::int64_t size) {
  if (!isOpen() || size < 0) return false;
  // A file opened for appending may not move its end: a second handle on the
  // same file, with write access, may.
  const HANDLE writable = ReOpenFile(nativeOf(handle_), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
  if (writable == INVALID_HANDLE_VALUE) return false;
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = size;
  const bool cut = SetFileInformationByHandle(writable, FileEndOfFileInfo, &end, sizeof end);
  CloseHandle(writable);
  return cut;
}

bool File::appendWhole(std::string_view bytes) {
  std::int64_t written = 0;
  if (!isOpen()) return false;
  if (writeAll(nativeOf(handle_), bytes.data(), static_cast<std::int64_t>(bytes.size()), written)) return true;
  // What went in lies at the end, unless another process has appended since.
  const std::optional<ContentStamp> now = contentStamp();
  if (written > 0 && now.has_value()) truncate(now->size - written);
  return false;
}

bool File::isDeletePending() const {
  // Not the number of links: some file systems count none on every file.
  // Wine (8.0) leaves the flag clear: there a deleted file looks untouched
  // until its last handle closes.
  FILE_STANDARD_INFO information{};
  return isOpen() &&
         GetFileInformationByHandleEx(nativeOf(handle_), FileStandardInfo, &information, sizeof information) &&
         information.DeletePending;
}

void File::close() {
  if (!isOpen()) return;
  CloseHandle(nativeOf(handle_));
  handle_ = closedHandle;
}

// Reading a whole file.

std::optional<File::ContentStamp> File::contentStamp() const {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!isOpen() || !GetFileInformationByHandle(nativeOf(handle_), &information)) return std::nullopt;
  const auto size = static_cast<std::int64_t>((std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow);
  const auto lastWrite = static_cast<std::int64_t>(
      (std::uint64_t{information.ftLastWriteTime.dwHighDateTime} << 32) | information.ftLastWriteTime.dwLowDateTime);
  return ContentStamp{size, lastWrite};
}

File::ReadFailure File::lastReadFailure() {
  const DWORD error = GetLastError();
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return {ReadFailure::Kind::missing, {}};
    // Antivirus, backup and editors hold files for a moment.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return {ReadFailure::Kind::heldByAnotherProgram, {}};
    default:
      break;
  }
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(message, length) : L"error " + std::to_wstring(error);
  if (message != nullptr) LocalFree(message);
  // The system's messages end in a period and a line end.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.')) {
    text.pop_back();
  }
  return {ReadFailure::Kind::other, windows::toUtf8(text)};
}

}  // namespace platform
