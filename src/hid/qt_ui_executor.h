// The UI-thread executor of the Qt program: tasks run from the application's event loop,
// nested loops of modal boxes included.
#pragma once

#include <memory>

#include "hid/hid_backend.h"
#include "hid/ui_executor.h"

namespace karvo {

class QtUiExecutor : public UiExecutor {
  public:
    // Queued to the application object; dropped when there is none (any more).
    void Post(std::function<void()> task) override;
};

std::shared_ptr<UiExecutor> MakeQtUiExecutor();

// The hidapi backend with its reports handed to the Qt event loop.
std::unique_ptr<HidBackend> MakeHidapiBackend();

}  // namespace karvo
