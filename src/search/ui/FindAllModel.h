// The rows of the Find All results: every hit of one search, in the walk's order until a
// column is sorted. A plain table model over a vector, so hundreds of thousands of hits cost
// one row each and the view draws only what is visible.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "search/SearchResult.h"

namespace hivora {

class FindAllModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Stable: hits equal in the column keep their order. A column below 0 leaves the order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void Clear();
    // Adds hits at the end, whatever the order the rows were sorted in.
    void Append(std::vector<SearchResult> hits);

    const std::vector<SearchResult>& Hits() const { return hits_; }
    const SearchResult& Hit(int row) const { return hits_[static_cast<size_t>(row)]; }
    // The row's cells as shown, joined by tabs.
    QString RowText(int row) const;

private:
    std::vector<SearchResult> hits_;
};

}  // namespace hivora
