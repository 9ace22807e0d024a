#include "shell/capture_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include <chrono>
#include <cmath>

namespace larkspan {
namespace {

constexpr double kLongestPause = 3600;
// A terabyte: as good as no limit.
constexpr int kLargestJournalLimit = 1'000'000;

QDoubleSpinBox* secondsBox(std::chrono::milliseconds value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0, kLongestPause);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" s"));
    box->setValue(double(value.count()) / 1000);
    return box;
}

std::chrono::milliseconds millisecondsOf(const QDoubleSpinBox* box) {
    return std::chrono::milliseconds(std::llround(box->value() * 1000));
}

}  // namespace

CaptureOptionsDialog::CaptureOptionsDialog(const CaptureOptions& options,
                                           const QList<ListingsFrom>& offered, QWidget* parent)
    : QDialog(parent),
      m_offered(offered),
      m_listingsFrom(new QComboBox(this)),
      m_dropRepeated(new QCheckBox(
          QStringLiteral("Drop listings already captured in the run (same listing page, or "
                         "same name and phone)"),
          this)),
      m_shortest(secondsBox(options.delay.shortest(), this)),
      m_longest(secondsBox(options.delay.longest(), this)),
      m_journalLimit(new QSpinBox(this)),
      m_captureList(new QCheckBox(QStringLiteral("Capture a list of searches"), this)),
      m_searchList(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("CaptureOptionsDialog"));
    setWindowTitle(QStringLiteral("Capture options"));
    m_listingsFrom->setObjectName(QStringLiteral("cbListingsFrom"));
    for (const ListingsFrom& source : m_offered) {
        m_listingsFrom->addItem(source.label());
    }
    m_listingsFrom->setCurrentIndex(int(m_offered.indexOf(options.listingsFrom)));
    m_captureList->setObjectName(QStringLiteral("cbCaptureList"));
    m_captureList->setChecked(options.captureList);
    m_searchList->setObjectName(QStringLiteral("edSearchList"));
    m_searchList->setPlaceholderText(
        QStringLiteral("The first result page of each search, one a line"));
    m_searchList->setPlainText(options.searchList.join(u'\n'));
    m_searchList->setEnabled(options.captureList);
    m_searchList->setTabChangesFocus(true);
    connect(m_captureList, &QCheckBox::toggled, m_searchList, &QWidget::setEnabled);
    m_dropRepeated->setObjectName(QStringLiteral("cbDropRepeated"));
    m_dropRepeated->setChecked(options.dropRepeatedListings);
    m_shortest->setObjectName(QStringLiteral("sbPauseFrom"));
    m_longest->setObjectName(QStringLiteral("sbPauseTo"));
    m_journalLimit->setObjectName(QStringLiteral("sbJournalLimit"));
    m_journalLimit->setRange(1, kLargestJournalLimit);
    m_journalLimit->setSuffix(QStringLiteral(" MB"));
    m_journalLimit->setValue(options.journalLimitMegabytes);
    // A range never runs backwards.
    connect(m_shortest, &QDoubleSpinBox::valueChanged, m_longest,
            [this](double value) { m_longest->setValue(std::max(value, m_longest->value())); });
    connect(m_longest, &QDoubleSpinBox::valueChanged, m_shortest,
            [this](double value) { m_shortest->setValue(std::min(value, m_shortest->value())); });

    auto* pause = new QHBoxLayout;
    pause->addWidget(m_shortest);
    pause->addWidget(new QLabel(QStringLiteral("to"), this));
    pause->addWidget(m_longest);
    pause->addWidget(new QLabel(QStringLiteral("(a random time in between)"), this), 1);
    auto* journal = new QHBoxLayout;
    journal->addWidget(m_journalLimit);
    journal->addWidget(
        new QLabel(QStringLiteral("(the oldest runs that ended are deleted first)"), this), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* detect =
        buttons->addButton(QStringLiteral("Detect listings"), QDialogButtonBox::ActionRole);
    detect->setObjectName(QStringLiteral("btnDetectInOptions"));
    connect(detect, &QPushButton::clicked, this, [this] { done(kDetectListings); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Listings from:"), m_listingsFrom);
    layout->addRow(m_captureList);
    layout->addRow(m_searchList);
    layout->addRow(m_dropRepeated);
    layout->addRow(QStringLiteral("Pause before each page turn:"), pause);
    layout->addRow(QStringLiteral("Keep the run journal under:"), journal);
    layout->addRow(buttons);
}

CaptureOptions CaptureOptionsDialog::options() const {
    return {m_dropRepeated->isChecked(),
            PageTurnDelay(millisecondsOf(m_shortest), millisecondsOf(m_longest)),
            m_journalLimit->value(),
            m_offered.value(m_listingsFrom->currentIndex()),
            m_captureList->isChecked(),
            m_searchList->toPlainText().split(u'\n', Qt::SkipEmptyParts)};
}

}  // namespace larkspan
