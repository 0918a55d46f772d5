#include "app/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/qt_util.h"
#include "protocol/device_link.h"

namespace karvo {

int QtDialogs::MessageBox(const std::string& text, const std::string& caption, int flags) {
    QMessageBox box(parent_);
    box.setText(ToQ(text));
    box.setWindowTitle(ToQ(caption));
    switch (flags & 0xF0) {
        case 0x10: box.setIcon(QMessageBox::Critical); break;
        case 0x20: box.setIcon(QMessageBox::Question); break;
        case 0x30: box.setIcon(QMessageBox::Warning); break;
        case 0x40: box.setIcon(QMessageBox::Information); break;
        default: break;
    }
    if ((flags & 0x0F) == 1) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? mb::ResultOk : mb::ResultCancel;
}

QString QtDialogs::QtFilter(const std::string& filter) {
    const QStringList parts = ToQ(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    }
    return out.join(QStringLiteral(";;"));
}

namespace {
std::optional<std::string> Run(QWidget* parent, const FileDialogRequest& r, bool save) {
    QFileDialog dlg(parent, ToQ(r.title), QString(), QtDialogs::QtFilter(r.filter));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultExt.empty()) dlg.setDefaultSuffix(ToQ(r.defaultExt));
    if (!r.fileName.empty()) dlg.selectFile(ToQ(r.fileName));
    if (!r.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return ToStd(dlg.selectedFiles().front());
}
}  // namespace

std::optional<std::string> QtDialogs::OpenFileName(const FileDialogRequest& request) {
    return Run(parent_, request, false);
}

std::optional<std::string> QtDialogs::SaveFileName(const FileDialogRequest& request) {
    return Run(parent_, request, true);
}

}  // namespace karvo
