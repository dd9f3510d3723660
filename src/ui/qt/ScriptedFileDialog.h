// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file dialog answered in advance: each request takes the next answer (a path, or a
// cancel); with no answer left, the request is cancelled, as a user closing the dialog
// would. Every request is kept so that a test can check what was asked.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/qt/IFileDialog.h"

namespace ui::qt {

class ScriptedFileDialog : public IFileDialog {
public:
    void Answer(std::string path) { m_answers.emplace_back(std::move(path)); }
    void Cancel() { m_answers.emplace_back(std::nullopt); }
    size_t PendingAnswers() const { return m_answers.size(); }
    const std::vector<FileDialogRequest>& Requests() const { return m_requests; }

    std::optional<std::string> Run(const FileDialogRequest& request) override {
        m_requests.push_back(request);
        if (m_answers.empty()) return std::nullopt;
        std::optional<std::string> answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }

private:
    std::deque<std::optional<std::string>> m_answers;
    std::vector<FileDialogRequest> m_requests;
};

}  // namespace ui::qt
