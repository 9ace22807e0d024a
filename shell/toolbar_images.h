#pragma once

#include <QIcon>

namespace larkspan {

// The window's toolbar pictures, by the index each control is known to use: 0 Stop (red disc),
// 1 Home (house), 2 Refresh (page with green arrows), 3 Forward and 4 Back (green arrows),
// 5 Search (magnifying glass), 6 red cross, 7 Favorites and the directory button (gold star),
// 8 Capture, 9 split toggle, 10 Quick. Drawn here, so they look alike on every platform.
QIcon toolbarImage(int index);

}  // namespace larkspan
