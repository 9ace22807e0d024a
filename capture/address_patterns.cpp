#include "capture/address_patterns.h"

#include "text/regexpr_syntax.h"

// Why the answers are those of the backtracking search, on one line (no item of either pattern
// matches a line separator, nor a code unit that is not valid UTF-16):
// - " ([A-Z]+) (\d+)" can only begin at a "tail": a blank, a whole run of capitals (a shorter
//   run would be followed by a capital, not the blank), a blank and a digit; the digits are then
//   all those that follow.
// - `>(.+)` takes the longest text that a tail follows: it ends at the line's last tail.
// - `((.+),)+?` tries one repetition first, whose greedy `.+` ends at the last comma and then
//   at earlier ones; more repetitions only reach later commas, which already failed. So group 1
//   ends at the last comma (with text before it) that a tail follows at least two characters
//   later, whether " ?" takes a blank or not; " ?" takes one when the city can still be a
//   character long without it, and the lazy city ends at the first tail.

namespace larkspan {
namespace {

const QStringView kAddressLabel = u"address: ";

bool isCapital(QChar c) {
    return c >= u'A' && c <= u'Z';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A line separator, or a code unit that is no part of a valid UTF-16 character.
bool isBarrier(QStringView text, qsizetype i) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c)) {
        return i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode());
    }
    if (QChar::isLowSurrogate(c)) {
        return i == 0 || !QChar::isHighSurrogate(text[i - 1].unicode());
    }
    return isRegExprLineSeparator(c);
}

qsizetype lineEnd(QStringView text, qsizetype from) {
    while (from < text.size() && !isBarrier(text, from)) {
        ++from;
    }
    return from;
}

// The end of the capitals of a tail at `at`, or -1 when none starts there.
qsizetype tailCapitalsEnd(QStringView text, qsizetype at, qsizetype end) {
    if (text[at] != u' ') {
        return -1;
    }
    qsizetype capitalsEnd = at + 1;
    while (capitalsEnd < end && isCapital(text[capitalsEnd])) {
        ++capitalsEnd;
    }
    const bool tail = capitalsEnd > at + 1 && capitalsEnd + 1 < end && text[capitalsEnd] == u' ' &&
                      isDigit(text[capitalsEnd + 1]);
    return tail ? capitalsEnd : -1;
}

// The last tail in [from, end), or -1. Each run of capitals is read from one blank only, so the
// walk stays linear.
qsizetype lastTail(QStringView text, qsizetype from, qsizetype end) {
    for (qsizetype at = end - 1; at >= from; --at) {
        if (tailCapitalsEnd(text, at, end) >= 0) {
            return at;
        }
    }
    return -1;
}

qsizetype firstTail(QStringView text, qsizetype from, qsizetype end) {
    for (qsizetype at = from; at < end; ++at) {
        if (tailCapitalsEnd(text, at, end) >= 0) {
            return at;
        }
    }
    return -1;
}

// City, state and postcode of a city that runs from `cityStart` to the tail at `tail`.
AddressMatch withTail(QStringView text, qsizetype cityStart, qsizetype tail, qsizetype end) {
    const qsizetype capitalsEnd = tailCapitalsEnd(text, tail, end);
    qsizetype digitsEnd = capitalsEnd + 1;
    while (digitsEnd < end && isDigit(text[digitsEnd])) {
        ++digitsEnd;
    }
    return {{},
            text.sliced(cityStart, tail - cityStart),
            text.sliced(tail + 1, capitalsEnd - tail - 1),
            text.sliced(capitalsEnd + 1, digitsEnd - capitalsEnd - 1)};
}

QStringView untilNul(QStringView block) {
    const qsizetype nul = block.indexOf(QChar(0));
    return nul < 0 ? block : block.first(nul);
}

}  // namespace

std::optional<AddressMatch> matchStreetAddress(QStringView block) {
    const QStringView text = untilNul(block);
    for (qsizetype label = text.indexOf(kAddressLabel); label >= 0;) {
        const qsizetype start = label + kAddressLabel.size();
        const qsizetype end = lineEnd(text, start);
        const qsizetype tail = lastTail(text, start, end);
        // The comma needs text before it, and a tail at least two characters after it.
        const qsizetype commasFrom = start + 1;
        const qsizetype comma =
            tail - 2 >= commasFrom
                ? text.sliced(commasFrom, tail - 1 - commasFrom).lastIndexOf(u',')
                : -1;
        if (comma >= 0) {
            const qsizetype afterComma = commasFrom + comma + 1;
            const qsizetype blankTaken =
                text[afterComma] == u' ' ? firstTail(text, afterComma + 2, end) : -1;
            AddressMatch match =
                blankTaken >= 0
                    ? withTail(text, afterComma + 1, blankTaken, end)
                    : withTail(text, afterComma, firstTail(text, afterComma + 1, end), end);
            match.street = text.sliced(start, afterComma - start);
            return match;
        }
        // Later labels on this line see fewer commas and no other tails.
        label = text.indexOf(kAddressLabel, end);
    }
    return std::nullopt;
}

std::optional<AddressMatch> matchMarkupAddress(QStringView block) {
    const QStringView text = untilNul(block);
    for (qsizetype bracket = text.indexOf(u'>'); bracket >= 0;) {
        const qsizetype end = lineEnd(text, bracket + 1);
        const qsizetype tail = lastTail(text, bracket + 2, end);
        if (tail >= 0) {
            return withTail(text, bracket + 1, tail, end);
        }
        // A later ">" on this line has no other tail after it.
        bracket = text.indexOf(u'>', end);
    }
    return std::nullopt;
}

}  // namespace larkspan
