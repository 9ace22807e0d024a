#include "inspect/element_inspector.h"

#include "browser/dom.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace larkspan {

ElementInspector::ElementInspector(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    chkShowElementInfo = new QCheckBox(QStringLiteral("Show Element under Mouse Cursor:"), this);
    chkShowElementInfo->setObjectName(QStringLiteral("chkShowElementInfo"));
    PnlElementInfo1 = new QWidget(this);
    PnlElementInfo1->setObjectName(QStringLiteral("PnlElementInfo1"));
    auto* rows = new QFormLayout(PnlElementInfo1);
    rows->setContentsMargins(4, 0, 0, 0);
    const auto addRow = [this, rows](const char* name, const QString& caption) {
        auto* box = new QLineEdit(PnlElementInfo1);
        box->setObjectName(QString::fromLatin1(name));
        box->setReadOnly(true);
        box->setFrame(false);
        auto* label = new QLabel(caption, PnlElementInfo1);
        QFont small = label->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        label->setFont(small);
        rows->addRow(label, box);
        return box;
    };
    edElementTag = addRow("edElementTag", QStringLiteral("tagName"));
    edElementId = addRow("edElementId", QStringLiteral("id"));
    edElementinnerHTML = addRow("edElementinnerHTML", QStringLiteral("innerHTML"));
    edElementclassName = addRow("edElementclassName", QStringLiteral("className"));
    edElementinnerText = addRow("edElementinnerText", QStringLiteral("innerText"));
    edElementhref = addRow("edElementhref", QStringLiteral("href:"));
    edElementSrc = addRow("edElementSrc", QStringLiteral("N/A"));
    PnlElementInfo1->hide();
    layout->addWidget(chkShowElementInfo);
    layout->addWidget(PnlElementInfo1);
    connect(chkShowElementInfo, &QCheckBox::toggled, this,
            &ElementInspector::chkShowElementInfoClick);
}

void ElementInspector::chkShowElementInfoClick() {
    PnlElementInfo1->setVisible(chkShowElementInfo->isChecked());
}

void ElementInspector::refresh(TWebbrowser* current, const QPoint& cursor) {
    if (!chkShowElementInfo->isChecked()) {
        return;
    }
    try {
        std::optional<browser::PageInspection> page = browser::PageInspection::open(current);
        if (page && page->isHtmlDocument()) {
            if (const std::optional<browser::ElementInfo> element = page->elementAt(cursor)) {
                show(*element);
            }
        }
        m_lastError.clear();
    } catch (const dom::DomError& error) {
        // Once a second the same error would bury the window in boxes.
        const QString message = QString::fromUtf8(error.what());
        if (message == m_lastError) {
            return;
        }
        m_lastError = message;
        throw;
    }
}

void ElementInspector::show(const browser::ElementInfo& element) {
    edElementTag->setText(element.tagName);
    edElementId->setText(element.id);
    edElementinnerText->setText(element.innerText);
    edElementinnerHTML->setText(element.innerHTML);
    edElementclassName->setText(element.className);
    if (element.href) {
        edElementhref->setText(*element.href);
    }
    // Long texts read from their start.
    for (QLineEdit* box : {edElementTag, edElementId, edElementinnerText, edElementinnerHTML,
                           edElementclassName, edElementhref}) {
        box->setCursorPosition(0);
    }
}

}  // namespace larkspan
