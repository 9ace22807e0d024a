#include "shell/app_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function in the global namespace, so it must be used outside ours.
static bool registerAppResources() {
    Q_INIT_RESOURCE(shell);
    return true;
}

namespace larkspan {

void loadAppResources() {
    [[maybe_unused]] static const bool registered = registerAppResources();
}

}  // namespace larkspan
