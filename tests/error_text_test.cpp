#include "shell/error_text.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

namespace larkspan {
namespace {

TEST(ErrorBoxText, FullStopOnlyAfterCharactersThatSortAfterTheStop) {
    struct Case {
        QString message;
        QString shown;
    };
    const Case cases[] = {
        {QString(), QString()},
        {QStringLiteral("abc"), QStringLiteral("abc.")},
        {QStringLiteral("Invalid HTML document"), QStringLiteral("Invalid HTML document.")},
        {QStringLiteral("abc."), QStringLiteral("abc.")},
        {QStringLiteral("."), QStringLiteral(".")},
        {QStringLiteral("abc!"), QStringLiteral("abc!")},  // U+0021
        {QStringLiteral("x)"), QStringLiteral("x)")},      // U+0029
        {QStringLiteral("a,"), QStringLiteral("a,")},      // U+002C
        {QStringLiteral("a-"), QStringLiteral("a-")},      // U+002D, just before "."
        {QStringLiteral("a "), QStringLiteral("a ")},
        {QStringLiteral("say \"x\""), QStringLiteral("say \"x\"")},
        {QStringLiteral("line\r\n"), QStringLiteral("line\r\n")},
        {QStringLiteral("a/"), QStringLiteral("a/.")},  // U+002F, just after "."
        {QStringLiteral("42"), QStringLiteral("42.")},
        {QStringLiteral("Error:"), QStringLiteral("Error:.")},
        {QStringLiteral("Why?"), QStringLiteral("Why?.")},
        {QStringLiteral("Fehler: \u00fc"), QStringLiteral("Fehler: \u00fc.")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorBoxText(c.message), c.shown) << c.message.toStdString();
    }
}

}  // namespace
}  // namespace larkspan
