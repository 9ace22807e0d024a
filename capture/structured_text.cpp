#include "capture/structured_text.h"

#include "capture/capture_data.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace larkspan {
namespace {

// Longer than any name in the table, so a stray "&" never makes a long search.
constexpr qsizetype kLongestReference = 10;

const QHash<QString, char32_t>& namedReferences() {
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> names;
        for (const QStringList& line : captureDataLines(QStringLiteral("html_entities.txt"))) {
            names.insert(line.value(0), line.value(1).toUInt());
        }
        return names;
    }();
    return table;
}

bool isCharacter(char32_t code) {
    return code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The character of the reference between "&" and ";", when it names one.
std::optional<char32_t> referenced(QStringView name) {
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const QStringView digits = name.sliced(hex ? 2 : 1);
        const auto isDigit = [hex](QChar c) {
            const char16_t u = c.unicode();
            return (u >= u'0' && u <= u'9') ||
                   (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
        };
        if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isDigit)) {
            return std::nullopt;
        }
        bool ok = false;
        const qulonglong code = digits.toULongLong(&ok, hex ? 16 : 10);
        return ok && code <= 0x10FFFF && isCharacter(static_cast<char32_t>(code))
                   ? static_cast<char32_t>(code)
                   : U'\uFFFD';
    }
    const auto found = namedReferences().constFind(name.toString());
    if (found == namedReferences().constEnd()) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace

QString decodeHtmlEntities(QStringView text) {
    if (!text.contains(u'&')) {
        return text.toString();
    }
    QString decoded;
    decoded.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype amp = text.indexOf(u'&', at);
        if (amp < 0) {
            break;
        }
        decoded += text.sliced(at, amp - at);
        const qsizetype semicolon =
            text.sliced(amp + 1, std::min(kLongestReference, text.size() - amp - 1)).indexOf(u';');
        const std::optional<char32_t> character =
            semicolon < 0 ? std::nullopt : referenced(text.sliced(amp + 1, semicolon));
        if (character) {
            decoded += QString::fromUcs4(&*character, 1);
            at = amp + semicolon + 2;
        } else {
            decoded += u'&';
            at = amp + 1;
        }
    }
    decoded += text.sliced(at);
    return decoded;
}

QString structuredValueText(QStringView text) {
    return decodeHtmlEntities(text).simplified();
}

}  // namespace larkspan
