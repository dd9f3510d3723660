// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecordingRenderTarget.h"

namespace ui {

void RecordingRenderTarget::FillRect(const Rect& rect, Color color) {
    Command c;
    c.op = Op::FillRect;
    c.rect = rect;
    c.color = color;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::DrawRect(const Rect& rect, int lineWidth, Color color) {
    Command c;
    c.op = Op::DrawRect;
    c.rect = rect;
    c.lineWidth = lineWidth;
    c.color = color;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::DrawRoundRect(const Rect& rect, int lineWidth, int radiusX,
                                          int radiusY, Color color) {
    Command c;
    c.op = Op::DrawRoundRect;
    c.rect = rect;
    c.lineWidth = lineWidth;
    c.radiusX = radiusX;
    c.radiusY = radiusY;
    c.color = color;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::DrawLine(Point from, Point to, int lineWidth, Color color) {
    Command c;
    c.op = Op::DrawLine;
    c.from = from;
    c.to = to;
    c.lineWidth = lineWidth;
    c.color = color;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::FillPie(const Rect& bounds, float startAngle, float sweepAngle,
                                    Color color) {
    Command c;
    c.op = Op::FillPie;
    c.rect = bounds;
    c.startAngle = startAngle;
    c.sweepAngle = sweepAngle;
    c.color = color;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::DrawArc(const Rect& bounds, float startAngle, float sweepAngle,
                                    int lineWidth, Color color) {
    Command c;
    c.op = Op::DrawArc;
    c.rect = bounds;
    c.startAngle = startAngle;
    c.sweepAngle = sweepAngle;
    c.lineWidth = lineWidth;
    c.color = color;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::DrawImage(const Rect& dest, const TDrawInfo& image, Color tint,
                                      std::uint8_t alpha) {
    Command c;
    c.op = Op::DrawImage;
    c.rect = dest;
    c.image = image;
    c.color = tint;
    c.alpha = alpha;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::DrawText(const Rect& rect, std::string_view text, Color color,
                                     const TFontInfo& font, unsigned style, bool markup) {
    Command c;
    c.op = Op::DrawText;
    c.rect = rect;
    c.text = std::string(text);
    c.color = color;
    c.font = font;
    c.style = style;
    c.markup = markup;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::PushClip(const Rect& rect) {
    Command c;
    c.op = Op::PushClip;
    c.rect = rect;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::PopClip() {
    Command c;
    c.op = Op::PopClip;
    m_commands.push_back(std::move(c));
}

void RecordingRenderTarget::SetAntiAlias(bool on) {
    Command c;
    c.op = Op::SetAntiAlias;
    c.antiAlias = on;
    m_commands.push_back(std::move(c));
}

std::vector<RecordingRenderTarget::Command> RecordingRenderTarget::Drawn() const {
    std::vector<Command> out;
    for (const Command& c : m_commands) {
        if (c.op != Op::PushClip && c.op != Op::PopClip && c.op != Op::SetAntiAlias)
            out.push_back(c);
    }
    return out;
}

std::vector<RecordingRenderTarget::Command> RecordingRenderTarget::Of(Op op) const {
    std::vector<Command> out;
    for (const Command& c : m_commands) {
        if (c.op == op) out.push_back(c);
    }
    return out;
}

std::vector<std::string> RecordingRenderTarget::Texts() const {
    std::vector<std::string> out;
    for (const Command& c : m_commands) {
        if (c.op == Op::DrawText) out.push_back(c.text);
    }
    return out;
}

std::vector<std::string> RecordingRenderTarget::Images() const {
    std::vector<std::string> out;
    for (const Command& c : m_commands) {
        if (c.op == Op::DrawImage) out.push_back(c.image.sImageName);
    }
    return out;
}

}  // namespace ui
