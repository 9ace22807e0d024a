#include "capture/profile_listing_source.h"

#include "browser/dom.h"
#include "capture/capture_error.h"
#include "capture/next_link_rule.h"
#include "capture/profile_listings.h"
#include "capture/refused_page.h"
#include "capture/result_fields.h"
#include "capture/turn_to_next_page.h"

#include <QElapsedTimer>
#include <QJsonArray>

namespace larkspan {
namespace {

const QString kPageScript = QStringLiteral("profile_listings.js");
// Often enough that a page that has drawn its results is read soon after, and seldom enough
// that the page's own scripts keep the engine.
constexpr std::chrono::milliseconds kPollInterval{250};

QJsonObject requestOf(const CaptureProfile& profile) {
    QJsonObject fields;
    for (std::size_t at = 0; at < kResultColumnCount; ++at) {
        if (const std::optional<ProfileFieldRule>& rule = profile.fields()[at]) {
            fields.insert(resultColumns()[at].key,
                          QJsonObject{{QStringLiteral("selector"), rule->selector()},
                                      {QStringLiteral("attribute"), rule->attribute()}});
        }
    }
    QJsonObject request{{QStringLiteral("listing"), profile.listingSelector()},
                        {QStringLiteral("fields"), fields}};
    if (!profile.waitFor().isEmpty()) {
        request.insert(QStringLiteral("waitFor"), profile.waitFor());
    }
    return request;
}

}  // namespace

ProfileListingSource::ProfileListingSource(CaptureProfile profile, PageWait wait)
    : m_profile(std::move(profile)), m_wait(std::move(wait)), m_request(requestOf(m_profile)) {}

QString ProfileListingSource::name() const {
    return QStringLiteral("profile ") + m_profile.name();
}

std::optional<PageListings> ProfileListingSource::read(ShownPage& page) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const std::shared_ptr<dom::Document> document = page.currentDocument();
        const QJsonObject answer =
            htmlDocumentOf(document.get()).runPageScript(kPageScript, m_request).toObject();
        if (answer.value(QLatin1String("ready")).toBool()) {
            ProfileListings listings =
                profileListings(m_profile, answer.value(QLatin1String("listings")).toArray());
            return PageListings{std::move(listings.resultLines), listings.digest};
        }
        if (std::chrono::milliseconds(waited.elapsed()) >= m_wait.limit) {
            throw CaptureError(
                (QStringLiteral("the page did not show \"") + m_profile.waitFor() +
                 QStringLiteral("\" within ") +
                 durationText(std::chrono::duration_cast<std::chrono::seconds>(m_wait.limit)) +
                 QStringLiteral(" (the profile's wait_for)"))
                    .toStdString());
        }
        if (!m_wait.pause(kPollInterval)) {
            return std::nullopt;
        }
    }
}

std::shared_ptr<dom::Element> ProfileListingSource::nextPageLink(ShownPage& page) {
    const std::shared_ptr<dom::Document> document = page.currentDocument();
    const NextLinkRule& next = m_profile.next();
    switch (next.kind) {
        case NextLinkRule::Kind::Selector:
            return findElementBySelector(document.get(), next.value);
        case NextLinkRule::Kind::Text:
            return findLinkByText(document.get(), next.value);
        case NextLinkRule::Kind::Directory:
            break;
    }
    return FindNextPageLink(document.get());
}

}  // namespace larkspan
