#include "capture/structured_json_ld.h"

#include "qt_printers.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// The values read, each as compact JSON.
QStringList valuesOf(const JsonLdScript& script) {
    QStringList values;
    for (const QJsonValue& value : script.values) {
        values.append(QString::fromUtf8(
            value.isObject() ? QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact)
                             : QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)));
    }
    return values;
}

struct Case {
    const char* what;
    const char* text;
    QStringList values;
    bool unreadable = false;
};

TEST(JsonLdScriptReading, RepairsWhatPagesBreakAndSkipsWhatStaysBroken) {
    const Case cases[] = {
        {"plain object", R"({"@type": "Bakery", "name": "A"})", {R"({"@type":"Bakery","name":"A"})"}},
        {"array", R"([{"a": 1}, {"b": 2}])", {R"([{"a":1},{"b":2}])"}},
        {"line and block comments", "{\"a\": 1, // one\n /* two */ \"b\": \"x // y /* z */\"}",
         {R"({"a":1,"b":"x // y /* z */"})"}},
        {"raw control characters inside strings", "{\"d\": \"one\ntwo\tthree\rfour\x01\"}",
         {R"({"d":"one\ntwo\tthree\rfour\u0001"})"}},
        {"a raw control character outside strings is dropped", "{\"a\":\x02 1}", {R"({"a":1})"}},
        {"commas before closing brackets", R"({"a": [1, 2, ], "b": {"c": 3,},})",
         {R"({"a":[1,2],"b":{"c":3}})"}},
        {"CDATA wrapper", R"(<![CDATA[{"a": 1}]]>)", {R"({"a":1})"}},
        {"commented CDATA wrapper", "//<![CDATA[\n{\"a\": 1}\n//]]>", {R"({"a":1})"}},
        {"block-commented CDATA wrapper", R"(/*<![CDATA[*/{"a": 1}/*]]>*/)", {R"({"a":1})"}},
        {"HTML comment wrapper", R"(<!-- {"a": 1} -->)", {R"({"a":1})"}},
        {"a trailing brace", R"({"a": {"b": 1}}})", {R"({"a":{"b":1}})"}},
        {"several objects", "{\"a\": 1}\n{\"b\": 2}, {\"c\": 3};", {R"({"a":1})", R"({"b":2})", R"({"c":3})"}},
        {"escaped quotes and backslashes", R"({"a": "say \"hi\" \\", "b": "\\"})",
         {R"({"a":"say \"hi\" \\","b":"\\"})"}},
        {"brackets inside strings", R"({"a": "}]{["})", {R"({"a":"}]{["})"}},
        {"empty script", "  \n ", {}},
        {"one broken object among good ones", R"({"a": 1} {'b': 2} {"c": 3})",
         {R"({"a":1})", R"({"c":3})"}, true},
        {"text ending inside an object", R"({"a": 1} {"b": )", {R"({"a":1})"}, true},
        {"text that starts no value", "var data = {\"a\": 1};", {R"({"a":1})"}, true},
        {"a bare value", "42", {}, true},
    };
    for (const Case& c : cases) {
        const JsonLdScript script = readJsonLdScript(QString::fromUtf8(c.text));
        EXPECT_EQ(valuesOf(script), c.values) << c.what;
        EXPECT_EQ(script.unreadable, c.unreadable) << c.what;
    }
}

TEST(JsonLdScriptReading, NestingTooDeepForTheReaderIsSkipped) {
    const QString deep = QString(5000, u'[') + QString(5000, u']');
    const JsonLdScript script = readJsonLdScript(deep);
    EXPECT_TRUE(script.values.isEmpty());
    EXPECT_TRUE(script.unreadable);
}

}  // namespace
}  // namespace larkspan
