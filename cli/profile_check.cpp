#include "cli/profile_check.h"

#include "browser/chromium_sandbox.h"
#include "browser/dom.h"
#include "browser/local_wait.h"
#include "browser/twebbrowser.h"
#include "capture/profile_folder.h"
#include "capture/profile_listing_source.h"
#include "capture/result_fields.h"
#include "cli/capture_source.h"
#include "cli/headless_page.h"
#include "cli/profile_selectors.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace larkspan {
namespace {

constexpr std::chrono::seconds kPageTimeLimit{120};
constexpr int kListingsShown = 3;
constexpr qsizetype kWidestCell = 32;

void print(const QString& text) {
    std::fputs(qPrintable(text), stdout);
    std::fflush(stdout);
}

class BrowserPage : public ShownPage {
public:
    explicit BrowserPage(TWebbrowser& browser) : m_browser(browser) {}
    std::shared_ptr<dom::Document> currentDocument() override { return m_browser.Document(); }
    QUrl currentAddress() override { return QUrl(m_browser.LocationURL()); }

private:
    TWebbrowser& m_browser;
};

// Page text goes to a terminal: one line, nothing that speaks to it, and not too wide.
QString cell(const QString& value) {
    QString shown;
    for (const QChar character : value) {
        shown += character.isPrint() ? character : QChar(u' ');
    }
    shown = shown.simplified();
    return shown.size() <= kWidestCell ? shown : shown.left(kWidestCell - 1) + QChar(0x2026);
}

QString fieldTable(const QStringList& resultLines) {
    QList<QStringList> listings;
    for (const QString& line : resultLines.mid(0, kListingsShown)) {
        listings.append(resultFields(line));
    }
    qsizetype keyWidth = 0;
    for (const ResultColumn& column : resultColumns()) {
        keyWidth = std::max(keyWidth, column.key.size());
    }
    QList<qsizetype> widths;
    for (qsizetype listing = 0; listing < listings.size(); ++listing) {
        qsizetype width = QString::number(listing + 1).size();
        for (const QString& value : listings[listing]) {
            width = std::max(width, cell(value).size());
        }
        widths.append(width);
    }
    const auto row = [&](const QString& title, const std::function<QString(qsizetype)>& cellOf) {
        QString line = title.leftJustified(keyWidth);
        for (qsizetype listing = 0; listing < listings.size(); ++listing) {
            line += QStringLiteral("  ") + cellOf(listing).leftJustified(widths[listing]);
        }
        while (line.endsWith(u' ')) {
            line.chop(1);
        }
        return line + u'\n';
    };
    QString table = row({}, [](qsizetype listing) { return QString::number(listing + 1); });
    for (int field = 0; field < kResultColumnCount; ++field) {
        table += row(resultColumns()[field].key,
                     [&](qsizetype listing) { return cell(listings[listing].value(field)); });
    }
    return table;
}

QString whyNoNextLink(const NextLinkRule& rule) {
    switch (rule.kind) {
        case NextLinkRule::Kind::Selector:
            return QStringLiteral("no element matches \"") + rule.value + u'"';
        case NextLinkRule::Kind::Text:
            return QStringLiteral("no link reads \"") + rule.value + u'"';
        case NextLinkRule::Kind::Directory:
            break;
    }
    return QStringLiteral("no link reads \"NEXT \u00BB\" (the profile gives no next rule)");
}

}  // namespace

int checkProfileOnPage(const QString& profileNameOrFile, const QString& address) {
    const QUrl page = captureSource(address);
    const CaptureProfile profile = ProfileFolder().find(profileNameOrFile);
    disableSandboxWhenRoot();
    checkProfileSelectors(profile);

    const std::unique_ptr<TWebbrowser> headless = headlessPage(kPageTimeLimit);
    TWebbrowser& browser = *headless;
    loadOrFail(browser, page);
    const PageWait wait{[&browser](std::chrono::milliseconds duration) {
                            browser::LocalWait pause(&browser);
                            pause.setTimeLimit(duration);
                            return pause.exec() == browser::LocalWait::Outcome::TimedOut;
                        },
                        kPageTimeLimit};
    ProfileListingSource source(profile, wait);
    BrowserPage shown(browser);
    const std::optional<PageListings> listings = source.read(shown);
    const qsizetype found = listings ? listings->resultLines.size() : 0;
    print(QStringLiteral("Profile %1 (%2) on %3: %4 listings\n")
              .arg(profile.name(), profile.file(), browser.LocationURL(), QString::number(found)));
    if (found > 0) {
        print(u'\n' + fieldTable(listings->resultLines) + u'\n');
    }
    const std::shared_ptr<dom::Element> next = source.nextPageLink(shown);
    print(next ? QStringLiteral("Next page: \"%1\" %2\n").arg(cell(next->innerText()), next->href())
               : QStringLiteral("No next page: %1\n").arg(whyNoNextLink(profile.next())));
    return found > 0 ? 0 : 1;
}

}  // namespace larkspan
