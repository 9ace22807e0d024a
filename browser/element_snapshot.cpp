#include "browser/element_snapshot.h"

#include <QJsonArray>

#include <utility>

namespace larkspan::browser {
namespace {

struct PropertyName {
    dom::ElementProperty property;
    QLatin1String name;
};

// Also the order of the columnSlots of ElementSnapshot::PropertyValues.
constexpr std::array<PropertyName, 4> kPropertyNames{{
    {dom::ElementProperty::InnerText, QLatin1String("innerText")},
    {dom::ElementProperty::InnerHTML, QLatin1String("innerHTML")},
    {dom::ElementProperty::OuterHTML, QLatin1String("outerHTML")},
    {dom::ElementProperty::Href, QLatin1String("href")},
}};

std::size_t slotOf(dom::ElementProperty property) {
    for (std::size_t slot = 0; slot < kPropertyNames.size(); ++slot) {
        if (kPropertyNames[slot].property == property) {
            return slot;
        }
    }
    throw dom::DomError("Unknown element property");
}

QStringList toStringList(const QJsonValue& value) {
    QStringList strings;
    const QJsonArray array = value.toArray();
    strings.reserve(array.size());
    for (const QJsonValue& item : array) {
        strings.append(item.toString());
    }
    return strings;
}

}  // namespace

std::shared_ptr<ElementSnapshot> ElementSnapshot::take(std::shared_ptr<DomBridge> bridge,
                                                       const DocumentKey& key,
                                                       const QJsonObject& request) {
    const QJsonValue answer = bridge->call(key, request);
    if (answer.isNull()) {
        return nullptr;
    }
    return std::shared_ptr<ElementSnapshot>(
        new ElementSnapshot(std::move(bridge), key, answer.toObject()));
}

ElementSnapshot::ElementSnapshot(std::shared_ptr<DomBridge> bridge, DocumentKey key,
                                 const QJsonObject& answer)
    : m_bridge(std::move(bridge)),
      m_key(std::move(key)),
      m_id(answer.value(QLatin1String("snapshot")).toInt()),
      m_tagNames(toStringList(answer.value(QLatin1String("tags")))),
      m_classNames(toStringList(answer.value(QLatin1String("classes")))) {}

ElementSnapshot::~ElementSnapshot() {
    m_bridge->releaseSnapshot(m_key, m_id);
}

int ElementSnapshot::size() const {
    return static_cast<int>(m_tagNames.size());
}

void ElementSnapshot::checkDocument() const {
    m_bridge->checkCurrent(m_key);
}

void ElementSnapshot::checkIndex(int index) const {
    checkDocument();
    checkRange(index);
}

void ElementSnapshot::checkRange(int index) const {
    if (index < 0 || index >= size()) {
        throw dom::DomError(QStringLiteral("Element index %1 is outside the list of %2 elements")
                                .arg(index)
                                .arg(size())
                                .toStdString());
    }
}

QString ElementSnapshot::tagName(int index) const {
    checkIndex(index);
    return m_tagNames.at(index);
}

QString ElementSnapshot::className(int index) const {
    checkIndex(index);
    return m_classNames.at(index);
}

QString ElementSnapshot::property(int index, dom::ElementProperty property) const {
    const std::size_t slot = slotOf(property);
    const auto prefetched = m_prefetched.constFind(index);
    if (prefetched != m_prefetched.cend() && (*prefetched)[slot]) {
        checkIndex(index);
        return *(*prefetched)[slot];
    }
    checkRange(index);
    const QJsonValue rows = m_bridge->call(
        m_key, QJsonObject{{QStringLiteral("op"), QStringLiteral("read")},
                           {QStringLiteral("snapshot"), m_id},
                           {QStringLiteral("indices"), QJsonArray{index}},
                           {QStringLiteral("properties"), QJsonArray{kPropertyNames[slot].name}}});
    return rows.toArray().at(0).toArray().at(0).toString();
}

void ElementSnapshot::prefetch(const QList<int>& indices, dom::ElementProperties properties) {
    QJsonArray jsonIndices;
    for (int index : indices) {
        checkRange(index);
        jsonIndices.append(index);
    }
    QJsonArray names;
    QList<std::size_t> columnSlots;
    for (std::size_t slot = 0; slot < kPropertyNames.size(); ++slot) {
        if (properties.testFlag(kPropertyNames[slot].property)) {
            names.append(kPropertyNames[slot].name);
            columnSlots.append(slot);
        }
    }
    if (jsonIndices.isEmpty() || names.isEmpty()) {
        checkDocument();
        return;
    }
    const QJsonArray rows =
        m_bridge
            ->call(m_key, QJsonObject{{QStringLiteral("op"), QStringLiteral("read")},
                                      {QStringLiteral("snapshot"), m_id},
                                      {QStringLiteral("indices"), jsonIndices},
                                      {QStringLiteral("properties"), names}})
            .toArray();
    for (qsizetype row = 0; row < indices.size(); ++row) {
        const QJsonArray values = rows.at(row).toArray();
        PropertyValues& kept = m_prefetched[indices.at(row)];
        for (qsizetype column = 0; column < columnSlots.size(); ++column) {
            kept[columnSlots.at(column)] = values.at(column).toString();
        }
    }
}

void ElementSnapshot::click(int index) {
    checkRange(index);
    m_bridge->callExpectingNavigation(m_key,
                                      QJsonObject{{QStringLiteral("op"), QStringLiteral("click")},
                                                  {QStringLiteral("snapshot"), m_id},
                                                  {QStringLiteral("index"), index}});
}

std::shared_ptr<ElementSnapshot> ElementSnapshot::elementsByTagName(int index,
                                                                    const QString& tagName) {
    checkRange(index);
    return take(m_bridge, m_key,
                QJsonObject{{QStringLiteral("op"), QStringLiteral("elementsByTagName")},
                            {QStringLiteral("snapshot"), m_id},
                            {QStringLiteral("index"), index},
                            {QStringLiteral("tag"), tagName}});
}

}  // namespace larkspan::browser
