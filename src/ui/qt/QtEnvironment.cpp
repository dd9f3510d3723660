// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtEnvironment.h"

#include <QByteArray>
#include <QtGlobal>

namespace ui::qt {

void QtEnvironment::Prepare() {
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void QtEnvironment::PrepareHeadless() {
    Prepare();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace ui::qt
