#pragma once

#include "browser/dom.h"
#include "browser/element_snapshot.h"

#include <memory>

namespace larkspan::browser {

// A list of elements of a page shown by the engine, fixed when it was taken.
class WebElementCollection : public dom::ElementCollection {
public:
    explicit WebElementCollection(std::shared_ptr<ElementSnapshot> snapshot);

    int length() const override;
    std::shared_ptr<dom::Element> item(int index) const override;
    using dom::ElementCollection::prefetch;
    void prefetch(const QList<dom::PrefetchRequest>& requests) override;

private:
    std::shared_ptr<ElementSnapshot> m_snapshot;
};

}  // namespace larkspan::browser
