#include "capture/goldleaf_au_entry.h"

#include "capture/address_patterns.h"
#include "capture/map_link.h"
#include "capture/result_fields.h"
#include "text/perl_regex.h"
#include "text/regexpr.h"

namespace larkspan {
namespace {

const QString kEmailPattern =
    QStringLiteral(R"re([_a-zA-Z\d\-\.]+@[_a-zA-Z\d\-]+(\.[_a-zA-Z\d\-]+)+)re");
const QString kNamePattern = QStringLiteral("listing-name: (.+)");
const QString kPhonePattern = QStringLiteral(R"re(tel:([\- \d]+))re");
const QString kHeadingPattern = QStringLiteral("listing-heading: (.+)");
const QString kDescriptionPattern = QStringLiteral("short-description: (.+)");
const QString kListingPagePattern = QStringLiteral(R"re(href=[''"](/.+?-\d+-listing\.html))re");
const QString kLongitudePattern = QStringLiteral(R"re(longitude="([\-.\d]+)")re");
const QString kLatitudePattern = QStringLiteral(R"re(latitude="([\-.\d]+)")re");

const QString kOpensInNewWindow = QStringLiteral(" (opens in a new window)");

// The website attempts, tried in order while no website has been kept.
struct WebsiteAttempt {
    QString pattern;
    QString prefix;     // put before group 1
    bool cleanUp;       // drop the first " (opens in a new window)"
    bool rejectLabels;  // empty it again when it is a button label, not an address
};

const WebsiteAttempt kWebsiteAttempts[] = {
    {QStringLiteral(R"re(span class=["']?alt["']?>(.+?) \(opens in a new window\))re"),
     {},
     true,
     true},
    {QStringLiteral(R"re(=["']?(.+?)["']? title="Visit Our Website)re"), {}, true, false},
    {QStringLiteral("website: (.+)"), {}, true, true},
    {QStringLiteral(R"re(href="(.+?)" title=.+?web site)re"), {}, true, true},
    {QStringLiteral("title=.www.(.+?) "), QStringLiteral("http://www."), false, false},
};

QString withoutFirst(QString text, const QString& part) {
    const qsizetype at = text.indexOf(part);
    if (at >= 0) {
        text.remove(at, part.size());
    }
    return text;
}

// Upper case for a to z only, as the label test expects.
QString asciiUpper(QString text) {
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z') {
            c = QChar(c.unicode() - (u'a' - u'A'));
        }
    }
    return text;
}

bool isWebsiteButtonLabel(const QString& value) {
    return value.contains(QStringLiteral("Visit Our Website")) ||
           asciiUpper(value).contains(QStringLiteral("LOOK AT OUR WEBSITE"));
}

}  // namespace

TGoldleafAUentry::TGoldleafAUentry(const QString& FullEntry, const ServiceAddresses& addresses,
                                   RegexCache* cache)
    : m_addresses(addresses), m_cache(cache), m_fields(cache), _fFullEntry(FullEntry) {
    // From here on "." never crosses a line end, so every value ends with its line.
    m_fields.setModifierStr(QStringLiteral("-m"));
    m_fields.setModifierS(false);
}

QString TGoldleafAUentry::TakeOutLastComma(const QString& s) {
    return s.endsWith(u',') ? s.chopped(1) : s;
}

QString TGoldleafAUentry::ExtractEmail(const QString& text) const {
    TRegExpr regex(m_cache);
    regex.setExpression(kEmailPattern);
    return regex.Exec(text) ? regex.Match(0) : QString();
}

QString TGoldleafAUentry::RemoveDoubleQuotes(const QString& text) const {
    if (!text.contains(u'"')) {
        return text;  // nothing to delete, so nothing to compile
    }
    TPerlRegEx regex(m_cache);
    regex.setRegEx(QStringLiteral("\""));
    regex.setSubject(text);
    regex.ReplaceAll();
    return regex.Subject();
}

QString TGoldleafAUentry::coordinate(const QString& pattern) const {
    TPerlRegEx regex(m_cache);
    regex.setRegEx(pattern);
    regex.setOptions(PerlRegExOption::preMultiLine);
    regex.setSubject(_fFullEntry);
    return regex.Match() ? regex.Groups(1) : QString();
}

QString TGoldleafAUentry::GetLongitude() const {
    return coordinate(kLongitudePattern);
}

QString TGoldleafAUentry::GetLatitude() const {
    return coordinate(kLatitudePattern);
}

void TGoldleafAUentry::ExecuteL() {
    readName();
    readOtherFields();
}

void TGoldleafAUentry::readName() {
    if (find(kNamePattern)) {
        _fFullName = RemoveDoubleQuotes(m_fields.Match(1));
    }
}

bool TGoldleafAUentry::find(const QString& pattern) {
    m_fields.setExpression(pattern);
    return m_fields.Exec(_fFullEntry);
}

void TGoldleafAUentry::readOtherFields() {
    _fEmail = ExtractEmail(_fFullEntry);

    if (find(kPhonePattern)) {
        _fPhone = m_fields.Match(1);
    }
    if (find(kHeadingPattern)) {
        _fActividad = m_fields.Match(1);
    }
    if (find(kDescriptionPattern)) {
        _fActiv2 = m_fields.Match(1);
    }
    readAddress();
    findWebsite();
    if (find(kListingPagePattern)) {
        _fHTTP_AU = m_addresses.directoryBase + m_fields.Match(1);
    }

    _fLongitude = GetLongitude();
    _flatitude = GetLatitude();
    buildMapLink();
    buildResultLine();
}

void TGoldleafAUentry::readAddress() {
    if (const auto address = matchStreetAddress(_fFullEntry)) {
        _fStreet = TakeOutLastComma(address->street.toString());
        _fCity = address->city.toString();
        _fstate = address->state.toString();
        _fZipNb = address->postcode.toString();
    } else if (const auto markup = matchMarkupAddress(_fFullEntry)) {
        _fCity = markup->city.toString();
        _fstate = markup->state.toString();
        _fZipNb = markup->postcode.toString();
    }
}

void TGoldleafAUentry::findWebsite() {
    for (const WebsiteAttempt& attempt : kWebsiteAttempts) {
        if (!_fHTTP.isEmpty()) {
            return;
        }
        if (!find(attempt.pattern)) {
            continue;
        }
        const QString found = m_fields.Match(1);
        _fHTTP =
            attempt.prefix + (attempt.cleanUp ? withoutFirst(found, kOpensInNewWindow) : found);
        if (attempt.rejectLabels && isWebsiteButtonLabel(_fHTTP)) {
            _fHTTP.clear();
        }
    }
}

void TGoldleafAUentry::buildMapLink() {
    _fGGMaps = mapLinkOf(m_addresses.mapBase,
                         {_flatitude, _fLongitude, _fStreet, _fCity, _fstate, _fZIP});
}

void TGoldleafAUentry::buildResultLine() {
    const QString* columns[] = {&_fFullName,  &_fPhone,    &_fEmail,     &_fStreet, &_fZipNb,
                                &_fCity,      &_fstate,    &_fActividad, &_fActiv2, &_fHTTP,
                                &_fLongitude, &_flatitude, &_fGGMaps,    &_fHTTP_AU};
    qsizetype size = 0;
    for (const QString* column : columns) {
        size += column->size() + 3;
    }
    _fResultLine.reserve(size);
    for (const QString* column : columns) {
        if (column != columns[0]) {
            _fResultLine += u',';
        }
        appendQuotedField(_fResultLine, *column);
    }
}

}  // namespace larkspan
