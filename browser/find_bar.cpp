#include "browser/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace larkspan::browser {

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), m_text(new QLineEdit(this)), m_result(new QLabel(this)) {
    setObjectName(QStringLiteral("FindBar"));
    m_text->setObjectName(QStringLiteral("FindText"));
    m_text->setClearButtonEnabled(true);
    m_result->setObjectName(QStringLiteral("FindResult"));

    auto* previous = new QToolButton(this);
    previous->setText(QStringLiteral("Previous"));
    auto* next = new QToolButton(this);
    next->setText(QStringLiteral("Next"));
    auto* closeButton = new QToolButton(this);
    closeButton->setText(QStringLiteral("Close"));
    closeButton->setAutoRaise(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral("Find:"), this));
    layout->addWidget(m_text, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_result);
    layout->addWidget(closeButton);

    m_text->installEventFilter(this);
    connect(previous, &QToolButton::clicked, this, [this] { find(true); });
    connect(next, &QToolButton::clicked, this, [this] { find(false); });
    connect(closeButton, &QToolButton::clicked, this, &FindBar::close);
    hide();
}

void FindBar::open() {
    show();
    m_text->setFocus();
    m_text->selectAll();
}

void FindBar::showResult(int activeMatch, int numberOfMatches) {
    m_result->setText(numberOfMatches == 0 ? QStringLiteral("Phrase not found")
                                           : QStringLiteral("%1 of %2")
                                                 .arg(QString::number(activeMatch),
                                                      QString::number(numberOfMatches)));
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_text || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Escape:
            close();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            find(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        default:
            return false;
    }
}

void FindBar::find(bool backward) {
    if (!m_text->text().isEmpty()) {
        emit findRequested(m_text->text(), backward);
    }
}

void FindBar::close() {
    hide();
    m_result->clear();
    emit closed();
}

}  // namespace larkspan::browser
