#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "daemon/DaemonLog.h"

namespace plandek {

// The records a daemon log received, each with its placeholders filled in.
class RecordedLog {
 public:
  DaemonLog sink() {
    return [this](std::string_view message, const std::vector<std::string>& parameters) {
      std::string text(message);
      for (std::size_t index = 0; index < parameters.size(); ++index) {
        const std::string placeholder = std::string("{").append(std::to_string(index)).append("}");
        for (std::size_t at = text.find(placeholder); at != std::string::npos;
             at = text.find(placeholder, at + parameters[index].size())) {
          text.replace(at, placeholder.size(), parameters[index]);
        }
      }
      const std::lock_guard lock(mutex_);
      records_.push_back(text);
    };
  }
  std::vector<std::string> records() {
    const std::lock_guard lock(mutex_);
    return records_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> records_;
};

}  // namespace plandek
