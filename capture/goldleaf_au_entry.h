#pragma once

#include "capture/service_addresses.h"
#include "text/regexpr.h"

#include <QString>

namespace larkspan {

class RegexCache;

// One listing block of the flattened page, parsed into the fields of one result line.
// Every field is the leftmost match of its pattern in the whole block; a field whose pattern
// finds nothing stays empty.
class TGoldleafAUentry {
public:
    // Keeps the block; nothing is parsed until ExecuteL. The cache, when given, must outlive
    // the record and lets many records share compiled patterns.
    explicit TGoldleafAUentry(const QString& FullEntry, const ServiceAddresses& addresses = {},
                              RegexCache* cache = nullptr);

    // Fills the fields in their fixed order. Called once, right after construction.
    void ExecuteL();
    // ExecuteL in two halves, for a caller that keeps only some listings: the name alone, then
    // every other field. No field depends on the name, so the result is the same.
    void readName();
    void readOtherFields();

    const QString& fFullEntry() const { return _fFullEntry; }
    const QString& fNameOnly() const { return _fFullName; }
    const QString& fFullNameANDAddress() const { return _fFullAddress; }
    const QString& fStreet() const { return _fStreet; }
    const QString& fZIP() const { return _fZIP; }
    const QString& fZipNb() const { return _fZipNb; }
    const QString& fCity() const { return _fCity; }
    const QString& fPhone() const { return _fPhone; }
    const QString& fProducts() const { return _fProducts; }
    const QString& fTollFree() const { return _fTollFree; }
    const QString& fFax() const { return _fFax; }
    const QString& fHTTP() const { return _fHTTP; }
    const QString& fHTTP_AU() const { return _fHTTP_AU; }
    const QString& fEmail() const { return _fEmail; }
    const QString& fActividad() const { return _fActividad; }
    const QString& fActiv2() const { return _fActiv2; }
    const QString& fState() const { return _fstate; }
    const QString& flongitude() const { return _fLongitude; }
    const QString& flatitude() const { return _flatitude; }
    const QString& fGGMaps() const { return _fGGMaps; }
    const QString& ResultLine() const { return _fResultLine; }

    // Text that ends with a comma, without that comma.
    static QString TakeOutLastComma(const QString& s);

    QString GetLongitude() const;
    QString GetLatitude() const;
    // The first e-mail address in the text, or empty text.
    QString ExtractEmail(const QString& text) const;
    QString RemoveDoubleQuotes(const QString& text) const;

private:
    // Searches the block for a field pattern with the fields' matcher.
    bool find(const QString& pattern);
    void readAddress();
    void findWebsite();
    QString coordinate(const QString& pattern) const;
    void buildMapLink();
    void buildResultLine();

    ServiceAddresses m_addresses;
    RegexCache* m_cache;
    // The matcher of the field patterns; "." stops at line separators.
    TRegExpr m_fields;

    QString _fFullEntry;
    QString _fFullName;
    QString _fFullAddress;
    QString _fStreet;
    QString _fZIP;
    QString _fZipNb;
    QString _fCity;
    QString _fPhone;
    QString _fProducts;
    QString _fTollFree;
    QString _fFax;
    QString _fHTTP;
    QString _fHTTP_AU;
    QString _fEmail;
    QString _fActividad;
    QString _fActiv2;
    QString _fstate;
    QString _fLongitude;
    QString _flatitude;
    QString _fGGMaps;
    QString _fResultLine;
};

}  // namespace larkspan
