#pragma once

namespace larkspan {

// `larkspan profile detect ADDRESS [-o FILE]`: loads the page without a window, detects its
// repeated listings and writes the profile that captures them (to standard output without -o);
// tells on standard error how many listings it found, the fields it mapped and the next-page
// rule. Gives the process exit code: 0, 1 when the page has no group of listings or cannot be
// loaded, 2 for a mistake in the command line.
int runProfileDetectCommand(int argc, char* argv[]);

}  // namespace larkspan
