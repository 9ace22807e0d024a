#include "shell/results_table_model.h"

#include "capture/result_fields.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QUrl>

namespace larkspan {

int ResultsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kResultColumnCount;
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const QString& field = m_rows.at(index.row()).at(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return field;
        case Qt::ForegroundRole:
            if (!linkAt(index).isEmpty()) {
                return QGuiApplication::palette().brush(QPalette::Link);
            }
            return {};
        case Qt::FontRole:
            if (!linkAt(index).isEmpty()) {
                QFont font;
                font.setUnderline(true);
                return font;
            }
            return {};
        default:
            return {};
    }
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    return section >= 0 && section < kResultColumnCount ? resultColumns()[section].title
                                                        : QVariant();
}

void ResultsTableModel::appendLines(const QStringList& lines) {
    if (lines.isEmpty()) {
        return;
    }
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + lines.size() - 1));
    for (const QString& line : lines) {
        m_rows.append(resultFields(line));
    }
    endInsertRows();
}

void ResultsTableModel::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

QUrl ResultsTableModel::linkAt(const QModelIndex& index) const {
    if (!index.isValid() || !resultColumns()[index.column()].isLink) {
        return {};
    }
    const QString& field = m_rows.at(index.row()).at(index.column());
    // A website is often written without its scheme.
    const QUrl url = QUrl::fromUserInput(field);
    return url.isValid() && !field.isEmpty() && !url.isLocalFile() ? url : QUrl();
}

}  // namespace larkspan
