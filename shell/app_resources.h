#pragma once

namespace larkspan {

// Registers the start page and the pictures of resources/shell.qrc. They are compiled into a
// static library, where the linker drops the registration nobody refers to; so every user
// calls this first. Repeated calls register once.
void loadAppResources();

}  // namespace larkspan
