// The HID backend for real amplifiers, over hidapi.
#pragma once

#include <memory>

#include "hid/hid_backend.h"
#include "hid/ui_executor.h"

namespace karvo {

// Lists every HID device hidapi finds and opens (hid_open_path) the ones it is asked to
// check out. Report lengths come from the report descriptor; a bound device is read on a
// thread of its own with reports handed to the UI thread through `executor`.
std::unique_ptr<HidBackend> MakeHidapiBackend(std::shared_ptr<UiExecutor> executor);

}  // namespace karvo
