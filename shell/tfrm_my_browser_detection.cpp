// "Detect listings": what detection finds on the capture tab's page, shown in the page and the
// Table, corrected field by field, and saved as a profile that Capture then uses.

#include "browser/twebbrowser.h"
#include "capture/capture_error.h"
#include "capture/profile_folder.h"
#include "capture/result_fields.h"
#include "shell/detection_bar.h"
#include "shell/detection_preview.h"
#include "shell/profile_save_dialog.h"
#include "shell/results_pane.h"
#include "shell/results_table.h"
#include "shell/split_screen_setting.h"
#include "shell/tfrm_my_browser.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>

namespace larkspan {
namespace {

const QString kMarks = QStringLiteral("listing_marks.js");
// Fields whose value is an address: a pick takes the link's target, not its text.
const QStringList kLinkFields{QStringLiteral("email"), QStringLiteral("website"),
                              QStringLiteral("map_link"), QStringLiteral("listing_page")};

}  // namespace

std::shared_ptr<dom::Document> TfrmMyBrowser::detectionDocument() {
    std::shared_ptr<dom::Document> document = WebBrowser1->Document();
    if (!document || !document->isHtmlDocument()) {
        throw CaptureError("the capture tab shows no web page to detect listings on");
    }
    return document;
}

void TfrmMyBrowser::DetectListingsClick() {
    endDetection();
    const std::shared_ptr<dom::Document> document = detectionDocument();
    auto detection = std::make_unique<DetectionPreview>();
    if (!detection->detect(*document, QUrl(WebBrowser1->LocationURL()))) {
        showStatusMessage(QStringLiteral("No group of repeated listings found on this page"));
        return;
    }
    m_detection = std::move(detection);
    showDetection();
    PageControl1->setCurrentWidget(m_resultsTable);
}

void TfrmMyBrowser::showDetection() {
    detectionDocument()->runPageScript(
        kMarks, QJsonObject{{QStringLiteral("op"), QStringLiteral("outline")},
                            {QStringLiteral("selector"), m_detection->listingSelector()}});
    m_resultsTable->clear();
    m_resultsTable->appendLines(m_detection->lines());
    // A click on a column's title offers to pick the field, not to sort.
    m_resultsTable->view()->setSortingEnabled(false);
    m_detectionBar->showGroup(m_detection->summary(), m_detection->groupCount(),
                              m_detection->group());
}

void TfrmMyBrowser::endDetection() {
    if (!m_detection) {
        return;
    }
    m_detection.reset();
    m_pickPoll.stop();
    m_detectionBar->hide();
    m_resultsTable->clear();
    m_resultsTable->appendLines(mmResults->lines());
    // In the order the lines were captured, whatever title was clicked meanwhile.
    m_resultsTable->view()->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_resultsTable->view()->setSortingEnabled(true);
    if (const std::shared_ptr<dom::Document> document = WebBrowser1->Document()) {
        try {
            document->runPageScript(kMarks,
                                    QJsonObject{{QStringLiteral("op"), QStringLiteral("outline")}});
            document->runPageScript(kMarks,
                                    QJsonObject{{QStringLiteral("op"), QStringLiteral("disarm")}});
        } catch (const dom::DomError&) {
            // The page has gone, and its marks with it.
        }
    }
}

void TfrmMyBrowser::chooseDetectedGroup(int index) {
    if (m_detection) {
        m_detection->chooseGroup(index);
        showDetection();
    }
}

void TfrmMyBrowser::offerFieldPick(int column) {
    if (!m_detection || column < 0 || column >= kResultColumnCount) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("FieldPickMenu"));
    const QAction* pick = menu.addAction(QStringLiteral("Pick from page"));
    QHeaderView* header = m_resultsTable->view()->horizontalHeader();
    const QPoint below(header->sectionViewportPosition(column), header->height());
    if (menu.exec(header->mapToGlobal(below)) != pick) {
        return;
    }
    m_pickedField = resultColumns()[column].key;
    detectionDocument()->runPageScript(
        kMarks, QJsonObject{{QStringLiteral("op"), QStringLiteral("arm")},
                            {QStringLiteral("listing"), m_detection->listingSelector()},
                            {QStringLiteral("link"), kLinkFields.contains(m_pickedField)}});
    showStatusMessage(QStringLiteral("Click the ") + resultColumns()[column].title +
                      QStringLiteral(" of any outlined listing in the page"));
    m_pickPoll.start();
}

void TfrmMyBrowser::takePickedField() {
    if (!m_detection) {
        m_pickPoll.stop();
        return;
    }
    const std::shared_ptr<dom::Document> document = detectionDocument();
    const QJsonObject picked =
        document
            ->runPageScript(kMarks, QJsonObject{{QStringLiteral("op"), QStringLiteral("picked")}})
            .toObject();
    if (picked.isEmpty()) {
        return;
    }
    m_pickPoll.stop();
    const QString selector = picked.value(QLatin1String("selector")).toString();
    m_detection->setFieldRule(m_pickedField, selector,
                              picked.value(QLatin1String("attribute")).toString(), *document);
    showDetection();
    showStatusMessage(QStringLiteral("%1: \"%2\" finds a value in %3 of %4 listings")
                          .arg(m_pickedField, selector,
                               QString::number(picked.value(QLatin1String("found")).toInt()),
                               QString::number(picked.value(QLatin1String("listings")).toInt())));
}

void TfrmMyBrowser::saveDetectedProfile() {
    if (!m_detection) {
        return;
    }
    QJsonObject profile = m_detection->profile();
    const QJsonArray matches = profile.value(QLatin1String("matches")).toArray();
    ProfileSaveDialog dialog(profile.value(QLatin1String("name")).toString(),
                             matches.isEmpty() ? QString() : matches.first().toString(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    profile.insert(QStringLiteral("name"), dialog.name());
    if (dialog.matches().isEmpty()) {
        profile.remove(QStringLiteral("matches"));
    } else {
        profile.insert(QStringLiteral("matches"), QJsonArray{dialog.matches()});
    }
    const QString path =
        m_profileFolder.save(dialog.name(), QJsonDocument(profile).toJson(QJsonDocument::Indented));
    m_captureOptions.listingsFrom = {ListingSourceChoice::Kind::Profile, dialog.name()};
    m_splitSetting.setListingsFrom(m_captureOptions.listingsFrom.settingText());
    showStatusMessage(QStringLiteral("Saved as ") + path +
                      QStringLiteral("; Capture takes its listings from it"));
}

}  // namespace larkspan
