// The one QApplication of a window test program, on a screen scaled by 2 (a HiDPI screen).
#include "qt_app.h"

namespace {

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new kiryuza::testing::WidgetsEnvironment("2"));

}  // namespace
