// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A render target that keeps every call, for tests of drawing code: paint a control into it
// and inspect what was drawn, in order.
#include <string>
#include <vector>

#include "ui/IRenderTarget.h"

namespace ui {

class RecordingRenderTarget : public IRenderTarget {
public:
    enum class Op {
        FillRect,
        DrawRect,
        DrawRoundRect,
        DrawLine,
        FillPie,
        DrawArc,
        DrawImage,
        DrawText,
        PushClip,
        PopClip,
        SetAntiAlias
    };

    struct Command {
        Op op = Op::FillRect;
        Rect rect;          // target rectangle or pie bounds
        Point from, to;     // lines
        Color color = 0;    // fill, line or text colour; image tint
        int lineWidth = 0;
        int radiusX = 0, radiusY = 0;
        float startAngle = 0, sweepAngle = 0;
        TDrawInfo image;
        std::uint8_t alpha = 255;
        std::string text;
        TFontInfo font;
        unsigned style = 0;
        bool markup = false;
        bool antiAlias = false;
    };

    void FillRect(const Rect& rect, Color color) override;
    void DrawRect(const Rect& rect, int lineWidth, Color color) override;
    void DrawRoundRect(const Rect& rect, int lineWidth, int radiusX, int radiusY,
                       Color color) override;
    void DrawLine(Point from, Point to, int lineWidth, Color color) override;
    void FillPie(const Rect& bounds, float startAngle, float sweepAngle, Color color) override;
    void DrawArc(const Rect& bounds, float startAngle, float sweepAngle, int lineWidth,
                 Color color) override;
    void DrawImage(const Rect& dest, const TDrawInfo& image, Color tint,
                   std::uint8_t alpha) override;
    void DrawText(const Rect& rect, std::string_view text, Color color, const TFontInfo& font,
                  unsigned style, bool markup) override;
    void PushClip(const Rect& rect) override;
    void PopClip() override;
    void SetAntiAlias(bool on) override;

    const std::vector<Command>& Commands() const { return m_commands; }
    // The drawing calls only (no clip or anti-alias bookkeeping).
    std::vector<Command> Drawn() const;
    std::vector<Command> Of(Op op) const;
    // Texts drawn, in order; images drawn, by file name.
    std::vector<std::string> Texts() const;
    std::vector<std::string> Images() const;
    void Clear() { m_commands.clear(); }

private:
    std::vector<Command> m_commands;
};

}  // namespace ui
