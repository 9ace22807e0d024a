#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace larkspan {

// The result lines as a table of their fourteen fields, one row per line in the order they
// were captured. A model over the lines, so the view asks only for the rows it shows and tens
// of thousands of lines cost no widget each.
class ResultsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void appendLines(const QStringList& lines);
    void clear();

    // The address a cell links to, or an empty one: the website, map link and listing page
    // columns hold links.
    QUrl linkAt(const QModelIndex& index) const;

private:
    QList<QStringList> m_rows;
};

}  // namespace larkspan
