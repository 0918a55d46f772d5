// A Dialogs double for tests: records every box and answers from a script.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "protocol/device_link.h"

namespace karvo::test {

struct ShownBox {
    std::string text;
    std::string caption;
    int flags;
};

class ScriptedDialogs : public Dialogs {
public:
    std::vector<ShownBox> boxes;
    std::deque<int> answers;                       // default: OK
    std::deque<std::optional<std::string>> files;  // default: cancelled
    std::vector<FileDialogRequest> requests;

    int MessageBox(const std::string& text, const std::string& caption, int flags) override {
        boxes.push_back({text, caption, flags});
        if (answers.empty()) return mb::ResultOk;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> OpenFileName(const FileDialogRequest& r) override { return Next(r); }
    std::optional<std::string> SaveFileName(const FileDialogRequest& r) override { return Next(r); }

private:
    std::optional<std::string> Next(const FileDialogRequest& r) {
        requests.push_back(r);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
};

}  // namespace karvo::test
