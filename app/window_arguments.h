#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace larkspan {

// What the arguments of a window start ask for: the toolkit's own options (left for it to take),
// and at most one address or file to open, as desktop environments and xdg-open pass it.
struct WindowArguments {
    std::optional<QUrl> startAddress;
    // The first argument that is neither; empty when there is none.
    QString unknown;
};

WindowArguments parseWindowArguments(int argc, char* argv[]);

}  // namespace larkspan
