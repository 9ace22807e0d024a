#include "browser/element_snapshot.h"

#include <QJsonArray>

#include <utility>

namespace larkspan::browser {
namespace {

struct PropertyName {
    dom::ElementProperty property;
    QLatin1String name;
};

// Also the order of the slots of ElementSnapshot::PropertyValues.
constexpr std::array<PropertyName, 4> kPropertyNames{{
    {dom::ElementProperty::InnerText, QLatin1String("innerText")},
    {dom::ElementProperty::InnerHTML, QLatin1String("innerHTML")},
    {dom::ElementProperty::OuterHTML, QLatin1String("outerHTML")},
    {dom::ElementProperty::Href, QLatin1String("href")},
}};

const char* const kMalformedList = "The page's document bridge failed: its list is malformed";

std::size_t slotOf(dom::ElementProperty property) {
    for (std::size_t slot = 0; slot < kPropertyNames.size(); ++slot) {
        if (kPropertyNames[slot].property == property) {
            return slot;
        }
    }
    throw dom::DomError("Unknown element property");
}

// The bits of the properties' slots: how a request names what to read of an element.
int slotMask(dom::ElementProperties properties) {
    int mask = 0;
    for (std::size_t slot = 0; slot < kPropertyNames.size(); ++slot) {
        if (properties.testFlag(kPropertyNames[slot].property)) {
            mask |= 1 << slot;
        }
    }
    return mask;
}

// Every property's name, in slot order: the bits of a mask count from the first.
QJsonArray propertyNames() {
    QJsonArray names;
    for (const PropertyName& name : kPropertyNames) {
        names.append(name.name);
    }
    return names;
}

QJsonArray jsonArrayOf(const QList<int>& numbers) {
    QJsonArray array;
    for (int number : numbers) {
        array.append(number);
    }
    return array;
}

}  // namespace

std::shared_ptr<ElementSnapshot> ElementSnapshot::take(std::shared_ptr<DomBridge> bridge,
                                                       const DocumentKey& key,
                                                       const QJsonObject& request) {
    DomBridge::Reply answer = bridge->callForTexts(key, request);
    if (answer.value.isNull()) {
        return nullptr;
    }
    // The tag names, then the class attributes, then any values read ahead.
    const QStringList& texts = answer.texts;
    const QJsonValue readMasks = answer.value[QLatin1String("read")];
    const qsizetype count = readMasks.isArray() ? readMasks.toArray().size() : texts.size() / 2;
    if (texts.size() < 2 * count || (!readMasks.isArray() && texts.size() % 2 != 0)) {
        throw dom::DomError(kMalformedList);
    }
    std::shared_ptr<ElementSnapshot> snapshot(
        new ElementSnapshot(std::move(bridge), key, answer.value[QLatin1String("snapshot")].toInt(),
                            texts.first(count), texts.sliced(count, count)));
    if (readMasks.isArray()) {
        QList<int> indices;
        QList<int> masks;
        for (int index = 0; index < count; ++index) {
            indices.append(index);
            masks.append(readMasks[index].toInt());
        }
        snapshot->keepRead(indices, masks, texts.sliced(2 * count));
    }
    return snapshot;
}

void ElementSnapshot::keepRead(const QList<int>& indices, const QList<int>& masks,
                               const QStringList& values) {
    qsizetype next = 0;
    for (qsizetype i = 0; i < indices.size(); ++i) {
        const int mask = masks.at(i);
        if (mask == 0) {
            continue;
        }
        PropertyValues& kept = m_prefetched[indices.at(i)];
        for (std::size_t slot = 0; slot < kPropertyNames.size(); ++slot) {
            if ((mask & (1 << slot)) != 0) {
                if (next == values.size()) {
                    throw dom::DomError(kMalformedList);
                }
                kept[slot] = values.at(next++);
            }
        }
    }
    if (next != values.size()) {
        throw dom::DomError(kMalformedList);
    }
}

ElementSnapshot::ElementSnapshot(std::shared_ptr<DomBridge> bridge, DocumentKey key, int id,
                                 QStringList tagNames, QStringList classNames)
    : m_bridge(std::move(bridge)),
      m_key(std::move(key)),
      m_id(id),
      m_tagNames(std::move(tagNames)),
      m_classNames(std::move(classNames)) {}

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
                                .arg(QString::number(index), QString::number(size()))
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
    const QStringList values = read({index}, {slotMask(property)});
    if (values.size() != 1) {
        throw dom::DomError(kMalformedList);
    }
    return values.front();
}

void ElementSnapshot::prefetch(const QList<dom::PrefetchRequest>& requests) {
    QList<int> indices;
    QList<int> masks;
    for (const dom::PrefetchRequest& request : requests) {
        checkRange(request.index);
        if (request.properties) {
            indices.append(request.index);
            masks.append(slotMask(request.properties));
        }
    }
    if (indices.isEmpty()) {
        checkDocument();
        return;
    }
    keepRead(indices, masks, read(indices, masks));
}

QStringList ElementSnapshot::read(const QList<int>& indices, const QList<int>& masks) const {
    return m_bridge
        ->callForTexts(m_key, QJsonObject{{QStringLiteral("op"), QStringLiteral("read")},
                                          {QStringLiteral("snapshot"), m_id},
                                          {QStringLiteral("properties"), propertyNames()},
                                          {QStringLiteral("indices"), jsonArrayOf(indices)},
                                          {QStringLiteral("masks"), jsonArrayOf(masks)}})
        .texts;
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

std::shared_ptr<ElementSnapshot> ElementSnapshot::descendantsWithClassContaining(
    int index, const QList<dom::ClassTextQuery>& queries) {
    checkRange(index);
    QJsonArray texts;
    QJsonArray readAhead;
    for (const dom::ClassTextQuery& query : queries) {
        texts.append(query.text);
        readAhead.append(slotMask(query.readAhead));
    }
    return take(
        m_bridge, m_key,
        QJsonObject{{QStringLiteral("op"), QStringLiteral("descendantsWithClassContaining")},
                    {QStringLiteral("snapshot"), m_id},
                    {QStringLiteral("index"), index},
                    {QStringLiteral("texts"), texts},
                    {QStringLiteral("properties"), propertyNames()},
                    {QStringLiteral("readAhead"), readAhead}});
}

}  // namespace larkspan::browser
