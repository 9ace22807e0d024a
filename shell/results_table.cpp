#include "shell/results_table.h"

#include "capture/result_fields.h"
#include "shell/results_table_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <array>
#include <chrono>

namespace larkspan {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kTypingPause = 250ms;
// Wide enough for most of what the columns hold; the user can resize them.
constexpr std::array<int, kResultColumnCount> kColumnWidths = {190, 100, 190, 160, 70, 120, 50,
                                                               130, 260, 190, 80,  80, 220, 260};

}  // namespace

ResultsTable::ResultsTable(QWidget* parent)
    : QWidget(parent),
      m_model(new ResultsTableModel(this)),
      m_proxy(new QSortFilterProxyModel(this)),
      m_filter(new QLineEdit(this)),
      m_rowCount(new QLabel(this)),
      m_view(new QTableView(this)) {
    setObjectName(QStringLiteral("tbTable"));
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);

    m_filter->setObjectName(QStringLiteral("edTableFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    m_rowCount->setObjectName(QStringLiteral("lblTableRows"));

    m_view->setObjectName(QStringLiteral("tvResults"));
    m_view->setModel(m_proxy);
    // Rows in the order they were captured until the user picks a column.
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSortingEnabled(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    for (int column = 0; column < kResultColumnCount; ++column) {
        m_view->setColumnWidth(column, kColumnWidths[column]);
    }
    // One height for every row: the view never measures the rows it does not show. No row
    // numbers: that header's cost per page grows with the rows, and the count shows above.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 4, 4, 4);
    bar->addWidget(m_filter, 1);
    bar->addWidget(m_rowCount);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

    m_filterDelay.setSingleShot(true);
    m_filterDelay.setInterval(kTypingPause);
    connect(m_filter, &QLineEdit::textChanged, &m_filterDelay, qOverload<>(&QTimer::start));
    connect(&m_filterDelay, &QTimer::timeout, this, &ResultsTable::applyFilter);
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex& index) {
        const QUrl url = m_model->linkAt(m_proxy->mapToSource(index));
        if (!url.isEmpty()) {
            emit linkActivated(url);
        }
    });
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &ResultsTable::showRowCount);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &ResultsTable::showRowCount);
    connect(m_proxy, &QAbstractItemModel::modelReset, this, &ResultsTable::showRowCount);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, &ResultsTable::showRowCount);
    showRowCount();
}

void ResultsTable::setBanner(QWidget* banner) {
    banner->setParent(this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, banner);
}

void ResultsTable::appendLines(const QStringList& lines) {
    m_model->appendLines(lines);
}

void ResultsTable::clear() {
    m_model->clear();
}

QString ResultsTable::rowCountText() const {
    const int all = m_model->rowCount();
    const int shown = m_proxy->rowCount();
    const QString rows = all == 1 ? QStringLiteral("row") : QStringLiteral("rows");
    return shown == all ? QStringLiteral("%1 %2").arg(QString::number(all), rows)
                        : QStringLiteral("%1 of %2 %3")
                              .arg(QString::number(shown), QString::number(all), rows);
}

void ResultsTable::applyFilter() {
    m_proxy->setFilterFixedString(m_filter->text());
    showRowCount();
}

void ResultsTable::showRowCount() {
    m_rowCount->setText(rowCountText());
}

}  // namespace larkspan
