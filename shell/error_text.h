#pragma once

#include <QString>

namespace larkspan {

// What the error box says for an error's message: the message, with a full stop added when its
// last character comes after "." in character-code order. So "!", ")" and "," end a sentence as
// they stand, while a letter, a digit, ":" or "?" get the stop. An empty message stays empty.
QString errorBoxText(const QString& message);

}  // namespace larkspan
