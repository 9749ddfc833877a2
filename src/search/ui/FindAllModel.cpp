#include "search/ui/FindAllModel.h"

#include <QStringList>

#include "search/HitRows.h"
#include "support/FileTimeFormat.h"
#include "support/ui/UiServices.h"

namespace hivora {
namespace {

QString CellText(const SearchResult& hit, int column) {
    switch (column) {
        case kHitKind:
            return ToQString(HitKindName(hit.kind)) +
                   (hit.deletedHive != 0 ? QStringLiteral(" (deleted)") : QString());
        case kHitKey:
            return ToQString(hit.keyPath);
        case kHitValue:
            return ToQString(HitValueName(hit));
        case kHitData:
            return ToQString(hit.data);
        case kHitLastWrite:
            return hit.lastWrite != 0 ? ToQString(FormatUtcDateTime(hit.lastWrite)) : QString();
        default:
            return {};
    }
}

}  // namespace

int FindAllModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

int FindAllModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kHitColumnCount;
}

QVariant FindAllModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return CellText(Hit(index.row()), index.column());
    }
    return {};
}

QVariant FindAllModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kHitColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return ToQString(HitColumnNames()[static_cast<size_t>(section)]);
}

void FindAllModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= kHitColumnCount || hits_.size() < 2) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Sort positions, not hits: the selection's persistent indexes follow through the map.
    const std::vector<size_t> newToOld =
        HitSortOrder(hits_, column, order == Qt::DescendingOrder);
    std::vector<SearchResult> sorted;
    sorted.reserve(hits_.size());
    std::vector<int> oldToNew(hits_.size());
    for (size_t row = 0; row < newToOld.size(); ++row) {
        sorted.push_back(std::move(hits_[newToOld[row]]));
        oldToNew[newToOld[row]] = static_cast<int>(row);
    }
    hits_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.push_back(this->index(oldToNew[static_cast<size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FindAllModel::Clear() {
    beginResetModel();
    hits_.clear();
    hits_.shrink_to_fit();
    endResetModel();
}

void FindAllModel::Append(std::vector<SearchResult> hits) {
    if (hits.empty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(hits.size()) - 1);
    hits_.insert(hits_.end(), std::make_move_iterator(hits.begin()),
                 std::make_move_iterator(hits.end()));
    endInsertRows();
}

QString FindAllModel::RowText(int row) const {
    QStringList cells;
    for (int column = 0; column < kHitColumnCount; ++column) {
        cells << CellText(Hit(row), column);
    }
    return cells.join(QLatin1Char('\t'));
}

}  // namespace hivora

#include "moc_FindAllModel.cpp"
