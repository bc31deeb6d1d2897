#pragma once

#include <memory>
#include <string>

namespace platform {

// A claim on a folder that one holder at a time may have: tried once, when
// the object is made, and given up when it goes or when the process ends,
// however it ends, so nothing is left behind to clean up. A second claim on
// the same folder fails in the same process too. Commands the process starts
// do not inherit it.
class InstanceLock {
 public:
  enum class Outcome {
    taken,
    heldElsewhere,
    // The system could not tell: the folder cannot be opened, or its file
    // system keeps no locks.
    unavailable,
  };

  // `folder` is a full path, UTF-8.
  explicit InstanceLock(const std::string& folder);
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();

  Outcome outcome() const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
