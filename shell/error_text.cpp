#include "shell/error_text.h"

namespace larkspan {

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.') {
        return message + u'.';
    }
    return message;
}

}  // namespace larkspan
