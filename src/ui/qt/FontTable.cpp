// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/FontTable.h"

#include "ui/CPaintManagerUI.h"

namespace ui::qt {

namespace {

struct Entry {
    int id;
    int size;
    bool bold;
    bool underline;
};

constexpr Entry kEntries[] = {
    {0, 15, false, false},  {1, 14, false, true},  {2, 18, false, false}, {3, 30, false, false},
    {4, 16, false, false},  {5, 20, false, false}, {6, 22, false, false}, {7, 14, false, false},
    {8, 12, false, false},  {9, 11, false, false}, {10, 10, false, false}, {11, 28, false, false},
    {50, 18, true, false},
};

constexpr int kDefaultSize = 12;

}  // namespace

void FontTable::Build(CPaintManagerUI& manager, std::string_view face) {
    manager.RemoveAllFonts();
    manager.SetDefaultFont(face, kDefaultSize, false, false, false, true);
    for (const Entry& entry : kEntries)
        manager.AddFont(entry.id, face, entry.size, entry.bold, entry.underline, false, true);
}

}  // namespace ui::qt
