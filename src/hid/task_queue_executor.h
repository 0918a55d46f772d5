// A UiExecutor for programs without a window system: the thread that owns it is the UI
// thread and runs the queued tasks in its own loop (RunFor, RunUntil).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "hid/ui_executor.h"

namespace karvo {

class TaskQueueExecutor : public UiExecutor {
  public:
    void Post(std::function<void()> task) override;

    // Runs the next task, waiting up to `timeout` for one. Returns whether one ran.
    bool RunOne(std::chrono::milliseconds timeout);
    // Runs tasks as they come until `timeout` has passed.
    void RunFor(std::chrono::milliseconds timeout);
    // Runs tasks until `done` is true (checked after each task and at the start) or the
    // timeout passes. Returns `done()`.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Runs the tasks queued now and those they queue, without waiting. Returns how many.
    int RunPending();
    // Drops every queued task without running it.
    void DropPending();

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace karvo
