#include "hid/task_queue_executor.h"

namespace karvo {

void TaskQueueExecutor::Post(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
}

bool TaskQueueExecutor::RunOne(std::chrono::milliseconds timeout) {
    std::function<void()> task;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!ready_.wait_for(lock, timeout, [this] { return !tasks_.empty(); })) return false;
        task = std::move(tasks_.front());
        tasks_.pop_front();
    }
    task();
    return true;
}

void TaskQueueExecutor::RunFor(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return;
        RunOne(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
    }
}

bool TaskQueueExecutor::RunUntil(const std::function<bool()>& done,
                                 std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return false;
        RunOne(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
    }
    return true;
}

int TaskQueueExecutor::RunPending() {
    int n = 0;
    while (RunOne(std::chrono::milliseconds(0))) ++n;
    return n;
}

void TaskQueueExecutor::DropPending() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(tasks_);
    }
}

}  // namespace karvo
