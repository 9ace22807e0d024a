#pragma once

#include "browser/dom.h"
#include "browser/dom_bridge.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace larkspan::browser {

// The native side of one snapshot of the bridge: a fixed list of elements of one document,
// with the tag and class of each fetched at once and other properties kept once prefetched.
// Elements and collections of the bridge share it.
class ElementSnapshot {
public:
    // Sends a request whose answer is a snapshot; nothing when the answer is null (no body).
    static std::shared_ptr<ElementSnapshot> take(std::shared_ptr<DomBridge> bridge,
                                                 const DocumentKey& key,
                                                 const QJsonObject& request);

    ~ElementSnapshot();
    ElementSnapshot(const ElementSnapshot&) = delete;
    ElementSnapshot& operator=(const ElementSnapshot&) = delete;

    int size() const;
    // Raise dom::DomError when the document has gone, or the index is outside the list.
    void checkDocument() const;
    void checkIndex(int index) const;

    QString tagName(int index) const;
    QString className(int index) const;
    // A prefetched value, or one round trip.
    QString property(int index, dom::ElementProperty property) const;
    void prefetch(const QList<dom::PrefetchRequest>& requests);
    void click(int index);
    std::shared_ptr<ElementSnapshot> elementsByTagName(int index, const QString& tagName);
    std::shared_ptr<ElementSnapshot> descendantsWithClassContaining(
        int index, const QList<dom::ClassTextQuery>& queries);

private:
    using PropertyValues = std::array<std::optional<QString>, 4>;

    ElementSnapshot(std::shared_ptr<DomBridge> bridge, DocumentKey key, int id,
                    QStringList tagNames, QStringList classNames);

    // Keeps values read: for each index, those of the properties whose slot bits its mask
    // sets, in slot order.
    void keepRead(const QList<int>& indices, const QList<int>& masks, const QStringList& values);
    // Requests check for themselves that their document is still shown; only the index is left.
    void checkRange(int index) const;
    // One round trip: for each index, the values of the properties its mask sets.
    QStringList read(const QList<int>& indices, const QList<int>& masks) const;

    std::shared_ptr<DomBridge> m_bridge;
    DocumentKey m_key;
    int m_id = 0;
    QStringList m_tagNames;
    QStringList m_classNames;
    QHash<int, PropertyValues> m_prefetched;
};

}  // namespace larkspan::browser
