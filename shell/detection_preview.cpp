#include "shell/detection_preview.h"

#include "browser/dom.h"
#include "capture/profile_listing_source.h"
#include "capture/profile_listings.h"
#include "capture/profile_reader.h"
#include "capture/result_fields.h"

#include <QJsonDocument>

namespace larkspan {
namespace {

// The document as a profile source reads it; no waiting, the page is there.
class DocumentPage : public ShownPage {
public:
    DocumentPage(dom::Document& document, QUrl address)
        : m_document(document), m_address(std::move(address)) {}
    std::shared_ptr<dom::Document> currentDocument() override {
        return {std::shared_ptr<dom::Document>(), &m_document};
    }
    QUrl currentAddress() override { return m_address; }

private:
    dom::Document& m_document;
    QUrl m_address;
};

CaptureProfile profileOf(const QJsonObject& json) {
    return readCaptureProfile(QJsonDocument(json).toJson(), QStringLiteral("detected profile"));
}

}  // namespace

bool DetectionPreview::detect(dom::Document& document, const QUrl& address) {
    m_groups = detectListings(document, address);
    if (m_groups.isEmpty()) {
        m_lines.clear();
        return false;
    }
    chooseGroup(0);
    return true;
}

void DetectionPreview::chooseGroup(int index) {
    m_group = std::clamp(index, 0, groupCount() - 1);
    readLines();
}

QString DetectionPreview::summary() const {
    return m_groups.isEmpty() ? QString() : m_groups[m_group].summary();
}

const QString& DetectionPreview::listingSelector() const {
    return m_groups[m_group].listingSelector;
}

QJsonObject DetectionPreview::profile() const {
    return m_groups[m_group].profile.object();
}

void DetectionPreview::setFieldRule(const QString& key, const QString& selector,
                                    const QString& attribute, dom::Document& document) {
    DetectedListings& group = m_groups[m_group];
    QJsonObject profile = group.profile.object();
    QJsonObject fields = profile.value(QLatin1String("fields")).toObject();
    fields.insert(key, attribute.isEmpty() ? QJsonValue(selector)
                                           : QJsonObject{{QStringLiteral("selector"), selector},
                                                         {QStringLiteral("attribute"), attribute}});
    profile.insert(QStringLiteral("fields"), fields);
    const CaptureProfile checked = profileOf(profile);
    group.profile = QJsonDocument(profile);
    group.fields.clear();
    for (std::size_t at = 0; at < kResultColumnCount; ++at) {
        if (checked.fields()[at]) {
            group.fields.append(resultColumns()[at].key);
        }
    }
    ProfileListingSource source(
        checked, {[](std::chrono::milliseconds) { return false; }, std::chrono::milliseconds(0)});
    DocumentPage page(document, {});
    m_lines = source.read(page).value_or(PageListings{}).resultLines;
}

void DetectionPreview::readLines() {
    const DetectedListings& group = m_groups[m_group];
    m_lines = profileListings(profileOf(group.profile.object()), group.found).resultLines;
}

}  // namespace larkspan
