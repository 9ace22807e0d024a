#pragma once

#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace larkspan {

class ResultsTableModel;

// The "Table" view beside the Results pane: the same lines as rows of named columns, sortable
// by any column, with a filter box that keeps the rows holding its text in any field, and the
// number of rows shown. A click on a link (website, map link, listing page) asks for it to be
// opened.
class ResultsTable : public QWidget {
    Q_OBJECT

public:
    explicit ResultsTable(QWidget* parent = nullptr);

    void appendLines(const QStringList& lines);
    void clear();

    QTableView* view() const { return m_view; }
    // A bar above the rows (it belongs to the table from then on).
    void setBanner(QWidget* banner);
    QLineEdit* filterBox() const { return m_filter; }
    // "60 rows", "12 of 60 rows"
    QString rowCountText() const;

signals:
    void linkActivated(const QUrl& url);

private:
    void applyFilter();
    void showRowCount();

    ResultsTableModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QLineEdit* m_filter;
    QLabel* m_rowCount;
    QTableView* m_view;
    // Filtering tens of thousands of rows waits until the typing pauses.
    QTimer m_filterDelay;
};

}  // namespace larkspan
