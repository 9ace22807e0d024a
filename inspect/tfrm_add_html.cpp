#include "inspect/tfrm_add_html.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace larkspan {
namespace {

constexpr QSize kDesignSize(525, 319);
constexpr QSize kMemoSize(505, 249);

}  // namespace

TfrmAddHTML::TfrmAddHTML(Action addToDocument, Action replaceDocument, QWidget* parent)
    : QDialog(parent),
      m_addToDocument(std::move(addToDocument)),
      m_replaceDocument(std::move(replaceDocument)) {
    setObjectName(QStringLiteral("TfrmAddHTML"));
    setWindowTitle(QStringLiteral("Add HTML"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumSize(kMemoSize);
    Memo1->setPlainText(kDefaultText);
    Button3 = new QPushButton(QStringLiteral("Load HTML Code (replace current Document)"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button2 = new QPushButton(QStringLiteral("Add HTML Code to the Document"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    // Never smaller than the captions need, whatever the font and its scale; the size of its
    // design where they fit.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    resize(kDesignSize);

    connect(Button3, &QPushButton::clicked, this, &TfrmAddHTML::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmAddHTML::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

QString TfrmAddHTML::html() const {
    QString text = Memo1->toPlainText();
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

void TfrmAddHTML::runAndClose(const Action& action) {
    action(html());
    accept();
}

void TfrmAddHTML::Button2Click() {
    runAndClose(m_addToDocument);
}

void TfrmAddHTML::Button3Click() {
    runAndClose(m_replaceDocument);
}

}  // namespace larkspan
