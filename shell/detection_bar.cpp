#include "shell/detection_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace larkspan {

DetectionBar::DetectionBar(QWidget* parent)
    : QWidget(parent), m_summary(new QLabel(this)), m_groups(new QComboBox(this)) {
    setObjectName(QStringLiteral("DetectionBar"));
    m_summary->setObjectName(QStringLiteral("lbDetection"));
    m_summary->setWordWrap(true);
    m_groups->setObjectName(QStringLiteral("cbDetectedGroup"));
    auto* save = new QPushButton(QStringLiteral("Save as profile..."), this);
    save->setObjectName(QStringLiteral("btnSaveProfile"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("btnCloseDetection"));
    connect(m_groups, &QComboBox::activated, this, &DetectionBar::groupChosen);
    connect(save, &QPushButton::clicked, this, &DetectionBar::saveRequested);
    connect(close, &QPushButton::clicked, this, &DetectionBar::closeRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_groups, 1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
}

void DetectionBar::showGroup(const QString& summary, int groups, int group) {
    m_summary->setText(summary);
    const QSignalBlocker quiet(m_groups);
    m_groups->clear();
    for (int index = 0; index < groups; ++index) {
        m_groups->addItem(index == 0 ? QStringLiteral("Listings found")
                                     : QStringLiteral("Alternative %1").arg(index));
    }
    m_groups->setCurrentIndex(group);
    show();
}

QString DetectionBar::summary() const {
    return m_summary->text();
}

}  // namespace larkspan
