#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// An open file of the operating system, closed when the object goes. A file
// that could not be opened is a closed object: every operation on it fails,
// and openError tells why it could not be opened.
//
// Files are opened without locks, shared with other readers and writers, and
// never handed to child processes. Writes are not buffered here: when write
// returns, the bytes belong to the operating system.
class File {
 public:
  enum class OpenError {
    none,
    // The system has no descriptor or handle left for this process.
    noFreeHandle,
    // Missing, not creatable, access denied, a folder, a bad name...
    failed,
  };

  File() = default;
  File(File&& other) noexcept
      : handle_(std::exchange(other.handle_, closedHandle)),
        openError_(std::exchange(other.openError_, OpenError::none)) {}
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = std::exchange(other.handle_, closedHandle);
      openError_ = std::exchange(other.openError_, OpenError::none);
    }
    return *this;
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { close(); }

  // The named file (UTF-8) for binary reading from its start, never created.
  // The open never waits, not even for the writer of a named pipe; reads of
  // anything but a regular file do not wait for data either (see
  // isRegularFile).
  static File openForReading(std::string_view utf8Path);
  // The named file (UTF-8) for writing, created when missing and emptied when not.
  static File openForWriting(std::string_view utf8Path);
  // The named file (UTF-8) for writing at its end, created when missing. Every
  // write goes to the end of the file as it is at that moment, whoever else
  // writes to it.
  static File openForAppending(std::string_view utf8Path);

  bool isOpen() const { return handle_ != closedHandle; }
  // Whether the open file is a regular file of data; false for a folder, a
  // pipe, a device and a closed file. Only a regular file surely ends: a pipe
  // or a device may keep a reader waiting or never run out of bytes.
  bool isRegularFile() const;
  // Why the file could not be opened; none for a file that was.
  OpenError openError() const { return openError_; }
  // Reads up to `size` bytes: the number read, 0 at the end of the file, -1
  // on an error or a closed file.
  std::int64_t read(void* buffer, std::int64_t size);
  // Writes all `size` bytes; false on an error or a closed file.
  bool write(const void* buffer, std::int64_t size);
  bool write(std::string_view bytes) { return write(bytes.data(), static_cast<std::int64_t>(bytes.size())); }
  // What tells one file from every other while it exists: a file removed or
  // moved away while open no longer has the identity found at its old name.
  struct Identity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const Identity&) const = default;
  };
  // Empty for a closed file.
  std::optional<Identity> identity() const;
  // What the system tells of a name (UTF-8): the identity of the file (or
  // folder) there, that there is none, or that it could not find out (a folder
  // on the way that may not be searched, an input/output error...).
  struct NameLookup {
    enum class Outcome { found, absent, unknown };
    Outcome outcome = Outcome::unknown;
    // Only when found.
    Identity identity;
    bool operator==(const NameLookup&) const = default;
  };
  static NameLookup identityAt(std::string_view utf8Path);
  // Why users other than this process's own and root could change the open
  // file, as far as the file's owner and modes tell; the owner is named first.
  // On Windows always none: there the permissions of the folder decide it.
  struct WriteExposure {
    enum class Reason { none, ownedByAnotherUser, writableByEveryUser };
    Reason reason = Reason::none;
    // The owner's user number, for ownedByAnotherUser.
    std::uint64_t owner = 0;
    bool operator==(const WriteExposure&) const = default;
  };
  WriteExposure writeExposure() const;
  // Reading a whole file and telling whether it changed meanwhile.
  //
  // What changes when the content does: the size and the time of the last
  // write, in the system's own units. Empty for a closed file.
  struct ContentStamp {
    std::int64_t size = 0;
    std::int64_t lastWrite = 0;
    bool operator==(const ContentStamp&) const = default;
  };
  std::optional<ContentStamp> contentStamp() const;
  // Why the calling thread's last openForReading or read failed; asked at
  // once after the failure, before anything else can overwrite the system's
  // error. The text is the system's own, in UTF-8, without a final period
  // ("Permission denied"); empty for a file that is missing.
  struct ReadFailure {
    enum class Kind {
      // No such file or folder on the way.
      missing,
      // Another program holds the file open without sharing it, or has
      // locked the part to be read (Windows); retrying later may succeed.
      heldByAnotherProgram,
      other,
    };
    Kind kind = Kind::other;
    std::string text;
  };
  static ReadFailure lastReadFailure();

  // Whether a process this one starts would receive the file; false for a closed file.
  bool isInheritedByChildProcesses() const;
  void close();

  // Keeping a file whole, and seeing it deleted.
  // Writes all `bytes` at the end of a file opened for appending or, when the
  // write stops part way (a full disk), cuts away what of them went in: they
  // are in the file whole or not at all. False when they are not and for a
  // closed file.
  bool appendWhole(std::string_view bytes);
  // Cuts the file back to `size` bytes, which needs no free space: what a
  // write on a full disk left half done can go again. False on an error or a
  // closed file.
  bool truncate(std::int64_t size);
  // Whether the open file has been deleted and its name stays until its last
  // handle closes; no new file can be made at that name meanwhile (Windows on
  // FAT drives and older versions). False where deleting a file takes its
  // name at once (POSIX), where the system does not say so (wine) and for a
  // closed file.
  bool isDeletePending() const;

 private:
  // A file descriptor or a Windows HANDLE, which both fit here; -1 is closed
  // (INVALID_HANDLE_VALUE on Windows).
  using NativeHandle = std::intptr_t;
  static constexpr NativeHandle closedHandle = -1;

  explicit File(NativeHandle handle) : handle_(handle) {}
  explicit File(OpenError error) : openError_(error) {}

  NativeHandle handle_ = closedHandle;
  OpenError openError_ = OpenError::none;
};

}  // namespace platform
