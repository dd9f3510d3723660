// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MessageBox.h"

#include <charconv>
#include <deque>

#include "app/CMsgWnd.h"
#include "app/LanguageManager.h"
#include "ui/CControlUI.h"
#include "ui/CMessageLoop.h"

namespace app {

namespace {

// Window styles of the box; they record intent for the renderer.
constexpr unsigned kWsPopup = 0x80000000;
constexpr unsigned kWsClipChildren = 0x02000000;
constexpr unsigned kWsExToolWindow = 0x00000080;

// A width beyond this is not a real layout need but a hostile or broken translation.
constexpr int kMaxFieldWidth = 256;

struct ScriptAnswer {
    int result = 0;
    bool dontShowAgain = false;
};

struct ScriptState {
    bool installed = false;
    std::deque<ScriptAnswer> answers;
    std::vector<MessageBoxScript::Shown> shown;
};

ScriptState& Script() {
    static ScriptState state;
    return state;
}

int AsResult(int code) {
    return code == CMsgWnd::kConfirmed ? CMsgWnd::kConfirmed : CMsgWnd::kCancelled;
}

// A box still there once its answer is known must not outlive the call.
void DestroyIfLeft(ui::WindowHandle handle) {
    if (ui::CWindowWnd* left = ui::CWindowWnd::FromHandle(handle)) left->DestroyWindow();
}

// Closes a box that is filled and placed with the next scripted answer, recording it.
int AnswerFromScript(CMsgWnd& box, std::string_view key, int mode) {
    ScriptState& script = Script();
    MessageBoxScript::Shown shown;
    shown.key = key;
    if (ui::CControlUI* text = box.GetPaintManager().FindControl("MessageText")) {
        shown.text = text->GetText();
    }
    shown.mode = mode;
    shown.offeredDontShow = box.OffersDontShowAgain();
    if (!script.answers.empty()) {
        shown.answer = AsResult(script.answers.front().result);
        if (shown.offeredDontShow && script.answers.front().dontShowAgain) {
            box.TickDontShowAgain(true);
        }
        script.answers.pop_front();
    }
    shown.dontShowAgain = box.DontShowAgainTicked();
    const int answer = shown.answer;
    script.shown.push_back(std::move(shown));
    const ui::WindowHandle handle = box.GetHWND();
    box.SendMessage(ui::WM_CLOSE, static_cast<std::uintptr_t>(answer), 0);
    DestroyIfLeft(handle);
    return answer;
}

int ShowMessageAs(ui::WindowHandle owner, std::string_view title, std::string_view text, int dpi,
                  bool markup, int mode, std::string_view recordKey,
                  std::shared_ptr<bool> dontShowAgain = nullptr) {
    // Without a loop no window can exist, and the caller must not take that for a yes.
    if (ui::CMessageLoop::Current() == nullptr) return CMsgWnd::kCancelled;
    auto* box = new CMsgWnd();
    // A failed creation destroys the window, and the box deletes itself with it.
    if (!box->Create(owner, "msgwnd", kWsPopup | kWsClipChildren, kWsExToolWindow)) {
        return CMsgWnd::kCancelled;
    }
    if (!title.empty()) box->SetTitleText(title);
    if (!text.empty()) box->SetMessageText(text, markup);
    box->SetDPI(dpi);
    box->SetButtonMode(mode);
    if (dontShowAgain) box->OfferDontShowAgain(dontShowAgain);
    box->CenterWindow();
    if (Script().installed) return AnswerFromScript(*box, recordKey, mode);

    const ui::WindowHandle handle = box->GetHWND();
    const int code = box->ShowModal();
    // The loop may have been quit under the box, leaving it open.
    DestroyIfLeft(handle);
    return AsResult(code);
}

struct Conversion {
    std::size_t length = 0;  // of the whole "%...c" text; 0 when it is incomplete
    bool leftAlign = false;
    bool zeroPad = false;
    bool plus = false;
    bool space = false;
    int width = 0;  // above kMaxFieldWidth when the text asks for too much
    char type = 0;
};

// Reads the conversion that starts at format[pos] == '%'.
Conversion ParseConversion(std::string_view format, std::size_t pos) {
    Conversion c;
    std::size_t i = pos + 1;
    for (; i < format.size(); ++i) {
        const char flag = format[i];
        if (flag == '-')
            c.leftAlign = true;
        else if (flag == '0')
            c.zeroPad = true;
        else if (flag == '+')
            c.plus = true;
        else if (flag == ' ')
            c.space = true;
        else if (flag != '#')
            break;
    }
    for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
        // Once too large it stays so; stopping there keeps any digit count from overflowing.
        if (c.width <= kMaxFieldWidth) c.width = c.width * 10 + (format[i] - '0');
    }
    if (i < format.size() && format[i] == '.') {
        // Precision means nothing for the one number the box shows; it is skipped.
        for (++i; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
        }
    }
    // Length modifiers ("%ls", "%lld") change nothing for the one value shown.
    while (i < format.size() &&
           std::string_view("hlLqjztIw").find(format[i]) != std::string_view::npos) {
        ++i;
    }
    if (i >= format.size()) return c;
    c.type = format[i];
    c.length = i - pos + 1;
    return c;
}

bool TakesTheValue(const Conversion& c) {
    return c.type == 'd' || c.type == 'i' || c.type == 'u' || c.type == 's' || c.type == 'S';
}

std::string Render(const Conversion& c, long long value) {
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    char buffer[24];
    const std::string digits(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr);
    const bool numeric = c.type != 's' && c.type != 'S';
    std::string sign;
    if (value < 0)
        sign = "-";
    else if (numeric && c.plus)
        sign = "+";
    else if (numeric && c.space)
        sign = " ";
    const std::size_t used = sign.size() + digits.size();
    const std::size_t width = static_cast<std::size_t>(c.width);
    if (used >= width) return sign + digits;
    const std::string pad(width - used, (c.zeroPad && numeric && !c.leftAlign) ? '0' : ' ');
    if (c.leftAlign) return sign + digits + pad;
    if (pad[0] == '0') return sign + pad + digits;
    return pad + sign + digits;
}

}  // namespace

int ShowMessage(ui::WindowHandle owner, std::string_view title, std::string_view text, int dpi,
                bool markup, int mode) {
    return ShowMessageAs(owner, title, text, dpi, markup, mode, text);
}

int ShowKeyedMessage(ui::WindowHandle owner, std::string_view key, int dpi, int mode) {
    return ShowMessageAs(owner, {}, key, dpi, true, mode, key);
}

int ShowKeyedNotice(ui::WindowHandle owner, std::string_view key, int dpi, bool& turnedOff) {
    // The box goes away with its window; the tick's state outlives it here.
    auto ticked = std::make_shared<bool>(false);
    const int result = ShowMessageAs(owner, {}, key, dpi, true, 0, key, ticked);
    turnedOff = *ticked;
    return result;
}

int ShowFormattedMessage(ui::WindowHandle owner, ui::CPaintManagerUI& manager, std::string_view key,
                         long long value, int dpi, int mode) {
    const std::string text = FormatMessageText(LanguageManager::Translate(manager, key), value);
    return ShowMessageAs(owner, {}, text, dpi, false, mode, key);
}

int ShowDetailedMessage(ui::WindowHandle owner, ui::CPaintManagerUI& manager, std::string_view key,
                        std::string_view detail, int dpi, int mode) {
    std::string text = LanguageManager::Translate(manager, key);
    text.append("\n").append(detail);
    return ShowMessageAs(owner, {}, text, dpi, false, mode, key);
}

std::string FormatMessageText(std::string_view format, long long value) {
    std::string out;
    out.reserve(format.size() + 24);
    bool filled = false;
    std::size_t i = 0;
    while (i < format.size()) {
        const std::size_t percent = format.find('%', i);
        if (percent == std::string_view::npos) {
            out.append(format.substr(i));
            break;
        }
        out.append(format.substr(i, percent - i));
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            out.push_back('%');
            i = percent + 2;
            continue;
        }
        const Conversion c = ParseConversion(format, percent);
        if (c.length == 0) {  // a conversion cut off by the end of the text
            out.append(format.substr(percent));
            break;
        }
        if (!filled && TakesTheValue(c) && c.width <= kMaxFieldWidth) {
            out.append(Render(c, value));
            filled = true;
        } else {
            out.append(format.substr(percent, c.length));
        }
        i = percent + c.length;
    }
    return out;
}

void MessageBoxScript::Install() {
    Script().installed = true;
}

void MessageBoxScript::Uninstall() {
    ScriptState& script = Script();
    script.installed = false;
    script.answers.clear();
    script.shown.clear();
}

bool MessageBoxScript::IsInstalled() {
    return Script().installed;
}

void MessageBoxScript::QueueAnswer(int answer, bool dontShowAgain) {
    Script().answers.push_back(ScriptAnswer{answer, dontShowAgain});
}

std::vector<MessageBoxScript::Shown> MessageBoxScript::TakeShown() {
    std::vector<MessageBoxScript::Shown> shown;
    shown.swap(Script().shown);
    return shown;
}

}  // namespace app
