// Message boxes and file dialogs as the logic sees them, so tests can answer them.
#pragma once

#include <optional>
#include <string>

namespace karvo {

struct FileDialogRequest {
    std::string title;
    std::string filter;      // "Config|*.cfg" style: description|pattern pairs
    std::string fileName;    // proposed name
    std::string defaultExt;  // without the dot; empty for none
    bool overwritePrompt = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal box with Windows flags (33, 48, 64, ...); returns mb::ResultOk or mb::ResultCancel.
    virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
};

}  // namespace karvo
