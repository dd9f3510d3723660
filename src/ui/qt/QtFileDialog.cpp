// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include "ui/qt/FileDialogFilter.h"
#include "ui/qt/QtConvert.h"

namespace ui::qt {

std::optional<std::string> QtFileDialog::Run(const FileDialogRequest& request) {
    QWidget* parent = m_owners ? m_owners(request.owner) : nullptr;
    QFileDialog dialog(parent, ToQString(request.title), ToQString(request.initialFolder));
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const std::string& filter : FileDialogFilter::ToQtFilters(request.filter))
        filters << ToQString(filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    // A pattern such as "*.png" only repeats the filter; a real name is proposed.
    if (!request.fileName.empty() && request.fileName.find('*') == std::string::npos)
        dialog.selectFile(ToQString(request.fileName));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return FromQString(chosen.first());
}

}  // namespace ui::qt
