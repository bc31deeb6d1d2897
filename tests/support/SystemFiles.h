#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// What tests need of the operating system beyond the standard library: files
// that are not regular files of data, owners and file modes. Each answers
// false where the system has no such thing or this process may not do it;
// the test then skips the case.

// Makes a named pipe (FIFO) at `path`. Opening it for reading waits for a
// writer unless the opener asks not to wait.
bool makeNamedPipe(const std::filesystem::path& path);
// Makes `path` a symbolic link to a device that reads zero bytes for ever.
bool makeEndlessDeviceLink(const std::filesystem::path& path);
// A name (UTF-8) that opens the system's null device.
std::string nullDeviceName();

// Whether files carry owner, group and other modes that the system enforces.
bool hasFileModes();
// Whether this process runs as root, who may give files away.
bool runsAsRoot();
// Gives the file at `path` to the user numbered `user` (root only).
bool giveToUser(const std::filesystem::path& path, std::uint32_t user);
// Runs `action` on a thread of its own that file modes bind even when the
// process runs as root: that thread alone gives up root's right to pass them
// by. False, and `action` not run, where that cannot be arranged.
bool runBoundByFileModes(const std::function<void()>& action);
// Holds the file at `path` open as another program that shares it with
// nobody (Windows share mode 0: antivirus, backup, an editor saving) until
// the answer goes; empty where the system has no such lock.
std::shared_ptr<void> holdWithoutSharing(const std::filesystem::path& path);
// Runs `action` with no file of this process able to grow past `bytes` bytes,
// as if the disk were full there: a write across the limit writes what fits
// and fails at the next byte. False, and `action` not run, where that cannot
// be arranged.
bool runWithFilesLimitedTo(std::int64_t bytes, const std::function<void()>& action);
