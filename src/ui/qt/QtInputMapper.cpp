// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtInputMapper.h"

#include "ui/TEventUI.h"

namespace ui::qt {

namespace {

struct KeyPair {
    int qt;
    int vk;
};

// Keys whose code does not follow from their character.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Escape, 0x1B},    {Qt::Key_Tab, 0x09},        {Qt::Key_Backtab, 0x09},
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Return, 0x0D},     {Qt::Key_Enter, 0x0D},
    {Qt::Key_Insert, 0x2D},    {Qt::Key_Delete, 0x2E},     {Qt::Key_Pause, 0x13},
    {Qt::Key_Print, 0x2C},     {Qt::Key_SysReq, 0x2C},     {Qt::Key_Clear, 0x0C},
    {Qt::Key_Home, 0x24},      {Qt::Key_End, 0x23},        {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},        {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22},   {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},   {Qt::Key_Meta, 0x5B},       {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},     {Qt::Key_CapsLock, 0x14},   {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Menu, 0x5D},      {Qt::Key_Space, 0x20},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA},      {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},      {Qt::Key_Comma, 0xBC},      {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},     {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},   {Qt::Key_Slash, 0xBF},      {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},  {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},  {Qt::Key_Exclam, '1'},      {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},      {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},  {Qt::Key_ParenRight, '0'},  {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE}, {Qt::Key_VolumeUp, 0xAF},  {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_MediaPrevious, 0xB1}, {Qt::Key_MediaStop, 0xB2}, {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_MediaTogglePlayPause, 0xB3},
};

int KeypadKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return 0x6A;
    case Qt::Key_Plus: return 0x6B;
    case Qt::Key_Minus: return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 0x6E;
    case Qt::Key_Slash: return 0x6F;
    case Qt::Key_Enter: return 0x0D;
    default: return -1;
    }
}

}  // namespace

int QtInputMapper::VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & Qt::KeypadModifier) != 0) {
        int keypad = KeypadKey(qtKey);
        if (keypad >= 0) return keypad;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    for (const KeyPair& pair : kKeys) {
        if (pair.qt == qtKey) return pair.vk;
    }
    return 0;
}

unsigned QtInputMapper::KeyState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    unsigned state = 0;
    if ((modifiers & Qt::ShiftModifier) != 0) state |= MK_SHIFT;
    if ((modifiers & Qt::ControlModifier) != 0) state |= MK_CONTROL;
    if ((modifiers & Qt::AltModifier) != 0) state |= MK_ALT;
    if ((buttons & Qt::LeftButton) != 0) state |= MK_LBUTTON;
    if ((buttons & Qt::RightButton) != 0) state |= MK_RBUTTON;
    return state;
}

int QtInputMapper::ButtonIndex(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return 0;
    case Qt::RightButton: return 1;
    case Qt::MiddleButton: return 2;
    case Qt::BackButton: return 3;
    case Qt::ForwardButton: return 4;
    default: return -1;
    }
}

int QtInputMapper::WheelNotches(int& residual, int angleDeltaY) {
    // A turn the other way drops what was gathered the first way.
    if ((residual > 0 && angleDeltaY < 0) || (residual < 0 && angleDeltaY > 0)) residual = 0;
    residual += angleDeltaY;
    const int notches = residual / 120;
    residual -= notches * 120;
    return notches;
}

int QtInputMapper::EvdevCode(quint32 nativeScanCode) {
    constexpr quint32 kXKeycodeOffset = 8;
    constexpr quint32 kLastXKeycode = 255;
    if (nativeScanCode <= kXKeycodeOffset || nativeScanCode > kLastXKeycode) return 0;
    return static_cast<int>(nativeScanCode - kXKeycodeOffset);
}

}  // namespace ui::qt
