// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScriptLineReader.h"

namespace app {

ScriptLineReader::Result ScriptLineReader::Next(std::string& line) {
    line.clear();
    std::streambuf* buffer = m_in.rdbuf();
    if (buffer == nullptr) return Result::End;
    bool any = false;
    bool tooLong = false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            m_in.setstate(std::ios::eofbit);
            if (!any) return Result::End;
            break;
        }
        any = true;
        if (c == '\n') break;
        if (tooLong) continue;
        if (line.size() >= m_maxBytes) {
            tooLong = true;
            line.clear();
            line.shrink_to_fit();
            continue;
        }
        line += static_cast<char>(c);
    }
    if (tooLong) return Result::TooLong;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return Result::Line;
}

}  // namespace app
