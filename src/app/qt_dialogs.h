// The real message boxes and file dialogs.
#pragma once

#include <QWidget>

#include "app/dialogs.h"

namespace karvo {

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;

    // "Config|*.cfg|All|*.*" -> "Config (*.cfg);;All (*.*)"
    static QString QtFilter(const std::string& filter);

private:
    QWidget* parent_;
};

}  // namespace karvo
