// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtPrivateFonts.h"

#include <QFile>
#include <QFontDatabase>

#include "ui/qt/QtConvert.h"

namespace ui::qt {

const std::vector<std::string>& QtPrivateFonts::Files() {
    static const std::vector<std::string> files = {
        "Font/Simplified_Chinese.ttf",
        "Font/Dedirade-Regular.otf",
        "Font/NotoSansThai-Regular.ttf",
        "Font/NotoSansCJKtc-Regular.otf",
    };
    return files;
}

QtPrivateFonts::~QtPrivateFonts() { Unload(); }

int QtPrivateFonts::Load(const std::filesystem::path& dataDir) {
    int added = 0;
    for (const std::string& file : Files()) {
        QFile font(QString::fromStdString((dataDir / file).string()));
        if (!font.open(QIODevice::ReadOnly)) continue;
        const QByteArray data = font.readAll();
        if (data.isEmpty()) continue;
        const int id = QFontDatabase::addApplicationFontFromData(data);
        if (id < 0) continue;
        m_ids.push_back(id);
        ++added;
    }
    return added;
}

void QtPrivateFonts::Unload() {
    while (!m_ids.empty()) {
        QFontDatabase::removeApplicationFont(m_ids.back());
        m_ids.pop_back();
    }
}

std::vector<std::string> QtPrivateFonts::Families() const {
    std::vector<std::string> families;
    for (int id : m_ids) {
        for (const QString& family : QFontDatabase::applicationFontFamilies(id))
            families.push_back(FromQString(family));
    }
    return families;
}

}  // namespace ui::qt
