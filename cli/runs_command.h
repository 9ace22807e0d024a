#pragma once

namespace larkspan {

// `larkspan runs`: lists the recent capture runs of the journal; `larkspan runs export ID`
// writes any run's lines again, in any results format. Gives the process exit code.
int runRunsCommand(int argc, char* argv[]);

}  // namespace larkspan
