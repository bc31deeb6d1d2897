#pragma once

#include <chrono>
#include <future>
#include <optional>
#include <thread>
#include <utility>

// What `action` answers when it finishes within `limit`, run on a thread of
// its own; nothing when it does not, so that a call that would wait for ever
// fails its test instead of hanging the suite. That thread is then left
// behind: `action` must own everything it uses.
template <typename Action>
auto resultWithin(std::chrono::seconds limit, Action action) -> std::optional<decltype(action())> {
  using Result = decltype(action());
  std::packaged_task<Result()> task(std::move(action));
  std::future<Result> result = task.get_future();
  std::thread(std::move(task)).detach();
  if (result.wait_for(limit) != std::future_status::ready) return std::nullopt;
  return result.get();
}
