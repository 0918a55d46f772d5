// Runs work on the UI thread: the reader threads hand every input report over through it.
#pragma once

#include <functional>

namespace karvo {

class UiExecutor {
  public:
    virtual ~UiExecutor() = default;
    // Queues `task` to run on the UI thread, after the tasks queued before it. Callable
    // from any thread. Tasks still queued when the executor goes away are dropped.
    virtual void Post(std::function<void()> task) = 0;
};

}  // namespace karvo
