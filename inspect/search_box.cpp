#include "inspect/search_box.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace larkspan {

SearchBox::SearchBox(QWidget* parent) : QGroupBox(QStringLiteral("Search && Highlight"), parent) {
    edSearchAndHighlight = new QLineEdit(this);
    edSearchAndHighlight->setObjectName(QStringLiteral("edSearchAndHighlight"));
    edSearchAndHighlight->setToolTip(QStringLiteral("Search && Highlight Text in Webbrowser"));
    btnSearchAndHighlight = new QToolButton(this);
    btnSearchAndHighlight->setObjectName(QStringLiteral("btnSearchAndHighlight"));
    btnSearchAndHighlight->setToolTip(QStringLiteral("Perform Search & Highlight"));
    btnSearchAndHighlight->setAutoRaise(true);
    btnSearchAndHighlight->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(edSearchAndHighlight, 1);
    layout->addWidget(btnSearchAndHighlight);
    connect(btnSearchAndHighlight, &QToolButton::clicked, this, &SearchBox::searchRequested);
    connect(edSearchAndHighlight, &QLineEdit::returnPressed, this, &SearchBox::searchRequested);
}

QString SearchBox::text() const {
    return edSearchAndHighlight->text();
}

}  // namespace larkspan
