// The one QApplication of a window test program, at the screen's own scale.
#include "qt_app.h"

namespace {

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new kiryuza::testing::WidgetsEnvironment);

}  // namespace
