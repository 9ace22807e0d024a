#include "cli/standard_output.h"

#include <QFile>

#include <cstdio>

namespace larkspan {

bool writeStandardOutput(const QByteArray& bytes) {
    QFile out;
    return out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() &&
           out.flush();
}

}  // namespace larkspan
