// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a script one line at a time without ever holding more than a set number of
// bytes: a longer line is read to its end and thrown away, so a hostile or broken script
// cannot make the program eat memory.
#include <cstddef>
#include <istream>
#include <string>

namespace app {

class ScriptLineReader {
public:
    enum class Result { Line, TooLong, End };

    ScriptLineReader(std::istream& in, std::size_t maxBytes) : m_in(in), m_maxBytes(maxBytes) {}

    // The next line without its "\n" (or "\r\n"). A last line without a newline counts;
    // End only when nothing is left.
    Result Next(std::string& line);

private:
    std::istream& m_in;
    std::size_t m_maxBytes;
};

}  // namespace app
