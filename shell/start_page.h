#pragma once

#include <QString>

namespace larkspan {

// The start page: the template carried in the program with its placeholders filled in, as lines
// each ended by CR LF. Throws std::runtime_error when the template is missing from the program.
QString BuildStartPage();

}  // namespace larkspan
