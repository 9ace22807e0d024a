#include "capture/flatten_page.h"

#include "browser/dom.h"
#include "capture/capture_error.h"

#include <QLatin1String>
#include <QList>
#include <QStringView>

#include <array>
#include <memory>

namespace larkspan {
namespace {

using dom::ElementProperties;
using dom::ElementProperty;

enum class EntryForm {
    Plain,                  // NAME: innerText
    MarkupAndText,          // NAME: innerHTML, then NAME:. innerText
    SeparatorInner,         // +-§--NAME: innerHTML
    SeparatorOuterAndText,  // +-§--NAME: outerHTML, then NAMEINNER: innerText
};

struct ListingClassName {
    QLatin1String name;
    EntryForm form;
};

// Visited in this order for every element; the listing parser relies on the labels, the forms
// and the order of entries within an element.
constexpr std::array<ListingClassName, 13> ListingClassNames{{
    {QLatin1String("listingTitle"), EntryForm::Plain},
    {QLatin1String("listing-address"), EntryForm::Plain},
    {QLatin1String("primary-contacts"), EntryForm::MarkupAndText},
    {QLatin1String("website"), EntryForm::Plain},
    {QLatin1String("media-class"), EntryForm::Plain},
    {QLatin1String("listing-heading"), EntryForm::Plain},
    {QLatin1String("dropdown-basic-body"), EntryForm::SeparatorInner},
    {QLatin1String("email"), EntryForm::Plain},
    {QLatin1String("search-contact-card call-to-actions"), EntryForm::SeparatorOuterAndText},
    {QLatin1String("enhancedTextDesc"), EntryForm::Plain},
    {QLatin1String("listing-short-description"), EntryForm::Plain},
    {QLatin1String("listing-name"), EntryForm::Plain},
    {QLatin1String("listing-details"), EntryForm::Plain},
}};

constexpr QStringView Separator = u"+-\u00A7--";
constexpr QStringView LineEnd = u"\r\n";

ElementProperties propertiesOf(EntryForm form) {
    switch (form) {
    case EntryForm::Plain:
        return ElementProperty::InnerText;
    case EntryForm::MarkupAndText:
        return ElementProperty::InnerHTML | ElementProperty::InnerText;
    case EntryForm::SeparatorInner:
        return ElementProperty::InnerHTML;
    case EntryForm::SeparatorOuterAndText:
        return ElementProperty::OuterHTML | ElementProperty::InnerText;
    }
    return {};
}

// The page sends only the elements that hold a listing class, with what their entries print.
const QList<dom::ClassTextQuery>& listingClassQueries() {
    static const QList<dom::ClassTextQuery> queries = [] {
        QList<dom::ClassTextQuery> all;
        for (const ListingClassName& entry : ListingClassNames) {
            all.append({entry.name, propertiesOf(entry.form)});
        }
        return all;
    }();
    return queries;
}

void appendLine(QString& text, QStringView prefix, QLatin1String name, QStringView label,
                const QString& value) {
    text += prefix;
    text += name;
    text += label;
    text += value;
    text += LineEnd;
}

void appendEntry(QString& text, const ListingClassName& entry, const dom::Element& element) {
    switch (entry.form) {
    case EntryForm::Plain:
        appendLine(text, {}, entry.name, u": ", element.innerText());
        break;
    case EntryForm::MarkupAndText:
        appendLine(text, {}, entry.name, u": ", element.innerHTML());
        appendLine(text, {}, entry.name, u":. ", element.innerText());
        break;
    case EntryForm::SeparatorInner:
        appendLine(text, Separator, entry.name, u": ", element.innerHTML());
        break;
    case EntryForm::SeparatorOuterAndText:
        appendLine(text, Separator, entry.name, u": ", element.outerHTML());
        appendLine(text, {}, entry.name, u"INNER: ", element.innerText());
        break;
    }
}

}  // namespace

QString FlattenPage(dom::Document* document) {
    if (!document || !document->isHtmlDocument()) {
        throw CaptureError("Invalid HTML document");
    }
    const std::shared_ptr<dom::Element> body = document->body();
    if (!body) {
        throw CaptureError("Can't find <body> element");
    }
    const std::unique_ptr<dom::ElementCollection> elements =
        body->descendantsWithClassContaining(listingClassQueries());

    QString text;
    const int length = elements->length();
    for (int i = 0; i < length; ++i) {
        const std::shared_ptr<dom::Element> element = elements->item(i);
        const QString className = element->className();
        for (const ListingClassName& entry : ListingClassNames) {
            // Anywhere in the whole attribute, case-sensitive, with no word boundaries, so a
            // name also picks up the longer classes that contain it.
            if (className.contains(entry.name)) {
                appendEntry(text, entry, *element);
            }
        }
    }
    return text;
}

}  // namespace larkspan
