#include "platform/qt/rules_window.h"

#include <QWidget>

namespace kiryuza::window {

void showRulesWindow(QWidget* /*parent*/) {}

}  // namespace kiryuza::window
