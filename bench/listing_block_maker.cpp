#include "listing_block_maker.h"

namespace {

const char* const kStreets[] = {"George St", "Shop 3, 12 Smith St", "Level 2, 88 Pitt St",
                                "41 Oxford St", "7 Beach Rd"};
const char* const kCities[] = {"Sydney", "North Sydney", "Bondi Beach", "Parramatta", "Manly"};

QString cardMarkup(int index, const QString& name, const QString& address) {
    return QStringLiteral(
               "<div class=\"search-contact-card call-to-actions\" data-listing-id=\"%1\" "
               "longitude=\"151.%2\" latitude=\"-33.%3\"><div class=\"listing-summary\">"
               "<a class=\"listing-name-link\" href=\"/nsw/sydney/business-%1-listing.html\">"
               "<h3 class=\"listing-name\">%4</h3></a><p class=\"listing-heading\">Restaurants</p>"
               "<p class=\"listing-address mappable-address\">%5</p></div>"
               "<div class=\"primary-contacts\"><a class=\"contact contact-phone\" "
               "href=\"tel:02 9%1 4321\" data-tracking=\"call\"><span class=\"glyph icon-phone\">"
               "</span><span class=\"contact-text\">(02) 9%1 4321</span></a>"
               "<a class=\"contact contact-email\" href=\"mailto:bookings%1@business%1.com.au\" "
               "data-tracking=\"email\"><span class=\"glyph icon-email\"></span>"
               "<span class=\"contact-text\">Send Email</span></a>"
               "<a class=\"contact contact-url\" href=\"http://www.business%1.com.au\" "
               "title=\"Visit Our Website\" target=\"_blank\" rel=\"nofollow\">"
               "<span class=\"glyph icon-website\"></span><span class=\"alt\">"
               "Visit Our Website (opens in a new window)</span></a></div>"
               "<div class=\"listing-features\"><span class=\"feature\">Licensed</span>"
               "<span class=\"feature\">Outdoor dining</span><span class=\"feature\">"
               "Wheelchair access</span><span class=\"feature\">Takeaway</span></div>"
               "<div class=\"opening-hours\"><span class=\"day\">Mon-Fri</span> "
               "<span class=\"hours\">11:30am - 10:00pm</span><span class=\"day\">Sat-Sun</span> "
               "<span class=\"hours\">5:00pm - 11:00pm</span></div>"
               "<div class=\"review-summary\" data-rating=\"4.%2\"><span class=\"stars\">"
               "&#9733;&#9733;&#9733;&#9733;&#9734;</span><span class=\"count\">%2 reviews</span>"
               "</div><div class=\"badges\"><img src=\"/img/badge-verified.svg\" alt=\"Verified\" "
               "width=\"16\" height=\"16\"><img src=\"/img/badge-years.svg\" alt=\"In business "
               "over 10 years\" width=\"16\" height=\"16\"></div></div>")
        .arg(QString::number(index), QString::number(1000 + index * 37 % 9000),
             QString::number(8000 + index * 53 % 1000), name, address);
}

}  // namespace

QString makeListingBlock(int index) {
    const QString name = QStringLiteral("Harbour Kitchen No. %1").arg(index);
    const QString address =
        QStringLiteral("%1, %2 NSW 2%3")
            .arg(QLatin1String(kStreets[index % 5]), QLatin1String(kCities[index % 5]),
                 QString::number(index % 1000).rightJustified(3, u'0'));
    const QString description = QStringLiteral(
        "Modern Australian dining with harbour views, seasonal produce and an award-winning "
        "wine list. Bookings recommended for groups of six or more; private room available.");
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("--search-contact-card call-to-actions: ") +
           cardMarkup(index, name, address) + crlf +
           QStringLiteral("search-contact-card call-to-actionsINNER: ") + name + crlf +
           QStringLiteral("Restaurants") + crlf + address + crlf +
           QStringLiteral("(02) 9%1 4321").arg(index) + crlf + QStringLiteral("Send Email") + crlf +
           QStringLiteral("Visit Our Website") + crlf +
           QStringLiteral("Licensed Outdoor dining Wheelchair access Takeaway") + crlf +
           QStringLiteral("listing-address: ") + address + crlf +
           QStringLiteral("listing-heading: Restaurants") + crlf +
           QStringLiteral("listing-name: ") + name + crlf +
           QStringLiteral("listing-short-description: ") + description + crlf +
           QStringLiteral("listing-details: ") + name + crlf + description + crlf +
           QStringLiteral("+-");
}

QString makeFlattenedPage(int listings) {
    QString page = QStringLiteral("+-");
    for (int i = 0; i < listings; ++i) {
        page += QStringLiteral("§") + makeListingBlock(i);
    }
    return page;
}
