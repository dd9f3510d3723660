// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse settings controls of the mouse's page: five DPI stages (row, enable option,
// slider in DPI steps, edit in DPI), the report-rate options, the four pointer settings
// and the page selectors. Looked up by name within the page; a missing control makes its
// setter do nothing and its getter yield 0. Setting an option here never raises a
// notification, so a refresh does not run the change handlers.
#include <string>
#include <string_view>

#include "data/DpiStage.h"

namespace ui {
class CContainerUI;
class CControlUI;
class COptionUI;
class CSliderUI;
}  // namespace ui

namespace model {

class MouseSettingsControls {
public:
    static constexpr int kStages = 5;
    static constexpr int kReportRates = 5;

    explicit MouseSettingsControls(ui::CContainerUI& page) : page_(page) {}

    // The DPI range of the mouse (information bytes 11, 12 and 14-15): the sliders run
    // 0 ... steps, the edits 0 ... steps x step.
    void SetDpiRange(int step, int steps, int smallest);
    int DpiStep() const { return step_; }
    int DpiSteps() const { return steps_; }
    int SmallestDpi() const { return smallest_; }

    // Enables stage n's row and option; keeps at least one stage switched on (see .cpp).
    void SetDpiStageEnabled(int n, bool on);
    bool IsDpiStageEnabled(int n);
    // Slider n = steps, edit n = steps x DPI step; the active stage's slider looks lit.
    void SetDpiStageValue(int n, int steps, int activeStage);
    int GetDpiSliderValue(int n);
    // The edit's DPI, at least the smallest DPI and at most the mouse's largest; 0 when
    // the edit is missing.
    int GetDpiEditValue(int n);

    void SelectReportRate(int n);  // n outside 0..4 selects 0
    void SetPointerSpeed(int value);
    int GetPointerSpeed();
    void SetPointerPrecision(bool on);
    bool GetPointerPrecision();
    // Only when both controls exist.
    void SetScrolling(bool page, int lines);
    bool GetScrollPage();
    int GetScrollLines();
    void SetDoubleClickSpeed(int value);
    int GetDoubleClickSpeed();
    void ShowSettingsPage(int n);

private:
    ui::CControlUI* Find(std::string_view name);
    ui::COptionUI* Option(std::string_view name);
    ui::CSliderUI* Slider(std::string_view name);
    void SetSliderValue(std::string_view name, int value);
    int SliderValue(std::string_view name);

    ui::CContainerUI& page_;
    int step_ = 0;
    int steps_ = 0;
    int smallest_ = 0;
};

}  // namespace model
