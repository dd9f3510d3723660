// SPDX-License-Identifier: GPL-3.0-or-later
// The program's file-type filters reach Qt's dialogs intact, and scripted answers stand
// in for the user in order.
#include "QtTestSupport.h"
#include "ui/qt/FileDialogFilter.h"
#include "ui/qt/IFileDialog.h"
#include "ui/qt/ScriptedFileDialog.h"

namespace {

using ui::qt::FileDialogFilter;
using ui::qt::FileDialogRequest;
using ui::qt::IFileDialog;
using ui::qt::ScriptedFileDialog;

TEST(FileDialogFilterTest, ReadsTheFiltersTheProgramWrites) {
    EXPECT_EQ(FileDialogFilter::ToQtFilters("Profile Files(*.json)|*.json||"),
              std::vector<std::string>{"Profile Files (*.json)"});
    EXPECT_EQ(FileDialogFilter::ToQtFilters("Macro Files(*.mac)|*.mac||"),
              std::vector<std::string>{"Macro Files (*.mac)"});
    // The skin chooser's: blanks around the bars, and a description that is only a pattern.
    EXPECT_EQ(FileDialogFilter::ToQtFilters("(*.png) | *.png |(*.*)|*.*||"),
              (std::vector<std::string>{"(*.png)", "(*.*)"}));
}

TEST(FileDialogFilterTest, SeveralPatternsAndBrokenTailsAreHandled) {
    const auto entries = FileDialogFilter::Parse("Images (*.png;*.bmp)|*.png; *.bmp|Dangling||ignored|x||");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].description, "Images");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.png", "*.bmp"}));
    EXPECT_TRUE(FileDialogFilter::Parse("").empty());
    EXPECT_TRUE(FileDialogFilter::Parse("No patterns||").empty());
}

TEST(ScriptedFileDialogTest, AnswersInOrderThenCancels) {
    ScriptedFileDialog dialog;
    dialog.Answer("/tmp/a.json");
    dialog.Cancel();
    IFileDialog::SetCurrent(&dialog);
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filter = "Profile Files(*.json)|*.json||";
    EXPECT_EQ(IFileDialog::Ask(request), std::optional<std::string>("/tmp/a.json"));
    EXPECT_EQ(IFileDialog::Ask(request), std::nullopt);
    EXPECT_EQ(IFileDialog::Ask(request), std::nullopt);  // nobody answers: cancelled
    ASSERT_EQ(dialog.Requests().size(), 3u);
    EXPECT_EQ(dialog.Requests()[0].mode, FileDialogRequest::Mode::Save);
    IFileDialog::SetCurrent(nullptr);
    EXPECT_EQ(IFileDialog::Ask(request), std::nullopt);  // no dialog at all: cancelled
    EXPECT_EQ(dialog.Requests().size(), 3u);
}

}  // namespace
