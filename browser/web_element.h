#pragma once

#include "browser/dom.h"
#include "browser/element_snapshot.h"

#include <memory>

namespace larkspan::browser {

// An element of a page shown by the engine: one entry of a snapshot.
class WebElement : public dom::Element {
public:
    WebElement(std::shared_ptr<ElementSnapshot> snapshot, int index);

    QString className() const override;
    QString tagName() const override;
    QString innerText() const override;
    QString innerHTML() const override;
    QString outerHTML() const override;
    QString href() const override;
    void click() override;
    std::unique_ptr<dom::ElementCollection> getElementsByTagName(const QString& tagName) override;
    std::unique_ptr<dom::ElementCollection> descendantsWithClassContaining(
        const QList<dom::ClassTextQuery>& queries) override;

private:
    std::shared_ptr<ElementSnapshot> m_snapshot;
    int m_index;
};

}  // namespace larkspan::browser
