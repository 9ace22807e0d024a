#pragma once

#include <QJsonValue>
#include <QList>
#include <QStringView>

namespace larkspan {

// What one JSON-LD script of a page held.
struct JsonLdScript {
    // Its top-level objects and arrays that could be read, in order.
    QList<QJsonValue> values;
    // Part or all of it could not be read, even repaired.
    bool unreadable = false;
};

// Reads the text of a <script type="application/ld+json"> as lenient extractors do, repairing
// what real pages break: JavaScript comments, raw control characters inside strings, commas
// before a closing bracket, CDATA and HTML comment wrappers, closing brackets left over after
// a value, and several values one after the other (with or without commas between them). Each
// value is read on its own, so one that stays broken costs only itself.
JsonLdScript readJsonLdScript(QStringView text);

}  // namespace larkspan
