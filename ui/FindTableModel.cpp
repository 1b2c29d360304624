// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindTableModel.h"

#include "CatalogTypes.h"
#include "LotUse.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <numeric>

namespace
{

QString Caption(FindTableModel::Column column)
{
    switch (column) {
    case FindTableModel::Column::Icon:
        return QString();
    case FindTableModel::Column::Name:
        return QStringLiteral("Catalog Name");
    case FindTableModel::Column::Price:
        return QStringLiteral("Price");
    case FindTableModel::Column::File:
        return QStringLiteral("File");
    case FindTableModel::Column::Guid:
        return QStringLiteral("GUID");
    case FindTableModel::Column::Copy:
        return QStringLiteral("Copy");
    case FindTableModel::Column::Problem:
        return QStringLiteral("Problem");
    case FindTableModel::Column::Lots:
        return QStringLiteral("Lots");
    }
    return QString();
}

// The text a column sorts by, or nothing for a column of numbers.
const QString* SortText(FindTableModel::Column column, const FindRow& row)
{
    switch (column) {
    case FindTableModel::Column::Name:
        return &row.name;
    case FindTableModel::Column::File:
        return &row.fileText;
    case FindTableModel::Column::Problem:
        return &row.problem;
    default:
        return nullptr;
    }
}

// The rows' order by a column of numbers alone: < 0, 0 or > 0.
int CompareNumbers(FindTableModel::Column column, const FindRow& a, const FindRow& b)
{
    switch (column) {
    case FindTableModel::Column::Price:
        return a.price < b.price ? -1 : (b.price < a.price ? 1 : 0);
    case FindTableModel::Column::Guid:
        return a.guid < b.guid ? -1 : (b.guid < a.guid ? 1 : 0);
    case FindTableModel::Column::Copy:
        return int(a.identicalCopy) - int(b.identicalCopy);
    case FindTableModel::Column::Lots:
        return a.lots - b.lots;
    default:
        return 0;
    }
}

} // namespace

FindTableModel::FindTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void FindTableModel::setRows(QList<FindRow> rows, const QList<Column>& columns, bool grouped)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_columns = columns;
    m_grouped = grouped;
    applySort();
    applyFilter();
    endResetModel();
}

void FindTableModel::setFilter(const QString& text)
{
    const QString folded = text.simplified().toCaseFolded();
    if (folded == m_filterText)
        return;
    // A longer text of the same start can only drop rows: only those shown need a look.
    QString words;
    const QList<int> lotNumbers = TakeLotNumbers(folded, &words);
    const bool narrowing = !m_matcher && !m_filterText.isEmpty() &&
                           folded.startsWith(m_filterText) && lotNumbers == m_lotNumbers;
    m_filterText = folded;
    m_lotNumbers = lotNumbers;
    m_words = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    beginResetModel();
    if (narrowing) {
        std::erase_if(m_shown, [this](int row) {
            const QString& search = m_rows.at(row).search;
            return !std::all_of(m_words.cbegin(), m_words.cend(),
                                [&search](const QString& word) { return search.contains(word); });
        });
    } else {
        applyFilter();
    }
    endResetModel();
}

void FindTableModel::applyFilter()
{
    m_shown.clear();
    m_shown.reserve(m_sorted.size());
    const auto onLots = [this](int row) {
        const QList<int>& numbers = m_rows.at(row).lotNumbers;
        return std::all_of(m_lotNumbers.cbegin(), m_lotNumbers.cend(),
                           [&numbers](int lot) { return numbers.contains(lot); });
    };
    if (m_matcher && !m_words.isEmpty()) {
        std::vector<bool> matching(m_rows.size(), false);
        for (int row : m_matcher(m_words.join(QLatin1Char(' ')))) {
            if (row >= 0 && row < int(matching.size()))
                matching[row] = true;
        }
        for (int row : m_sorted) {
            if (matching[row] && onLots(row))
                m_shown.push_back(row);
        }
        return;
    }
    for (int row : m_sorted) {
        const QString& search = m_rows.at(row).search;
        if (std::all_of(m_words.cbegin(), m_words.cend(),
                        [&search](const QString& word) { return search.contains(word); }) &&
            onLots(row))
            m_shown.push_back(row);
    }
}

bool FindTableModel::less(int a, int b) const
{
    const FindRow& first = m_rows.at(a);
    const FindRow& second = m_rows.at(b);
    // Groups stay together and in GUID order; the chosen column orders the rows within.
    if (m_grouped && first.group != second.group)
        return first.group < second.group;
    const int order = m_sortKeys.empty() ? CompareNumbers(m_sortColumn, first, second)
                                         : m_sortKeys[a].compare(m_sortKeys[b]);
    return m_sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
}

void FindTableModel::applySort()
{
    // Text is folded once, not at every comparison: sorting 60,000 rows compares a million
    // times.
    m_sortKeys.clear();
    if (!m_rows.isEmpty() && SortText(m_sortColumn, m_rows.first())) {
        m_sortKeys.reserve(m_rows.size());
        for (const FindRow& row : std::as_const(m_rows))
            m_sortKeys.push_back(SortText(m_sortColumn, row)->toCaseFolded());
    }
    m_sorted.resize(m_rows.size());
    std::iota(m_sorted.begin(), m_sorted.end(), 0);
    // Stable, so that rows alike by the column keep the order of the file list.
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [this](int a, int b) { return less(a, b); });
    m_sortKeys.clear();
}

void FindTableModel::sort(int column, Qt::SortOrder order)
{
    // Column -1 (no sort indicator) and the icon column keep the order of the file list.
    m_sortColumn = column < 0 ? Column::Icon : columnAt(column);
    m_sortOrder = order;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> rowsBefore;
    for (const QModelIndex& index : before)
        rowsBefore << m_shown.at(index.row());
    applySort();
    applyFilter();
    // Keep the selection on the same rows.
    std::vector<int> where(m_rows.size(), -1);
    for (int i = 0; i < int(m_shown.size()); ++i)
        where[m_shown[i]] = i;
    QModelIndexList after;
    for (int i = 0; i < before.size(); ++i)
        after << index(where[rowsBefore.at(i)], before.at(i).column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const FindRow* FindTableModel::rowAt(int row) const
{
    if (row < 0 || row >= int(m_shown.size()))
        return nullptr;
    return &m_rows.at(m_shown[row]);
}

void FindTableModel::iconReady()
{
    const int column = columnOf(Column::Icon);
    if (column < 0 || m_shown.empty())
        return;
    Q_EMIT dataChanged(index(0, column), index(int(m_shown.size()) - 1, column),
                       {Qt::DecorationRole});
}

int FindTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int FindTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant FindTableModel::data(const QModelIndex& index, int role) const
{
    const FindRow* row = rowAt(index.row());
    if (!row || index.column() >= m_columns.size())
        return {};
    const Column column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case Column::Name:
            return row->name;
        case Column::Price:
            return row->listed ? QString::number(row->price) : QString();
        case Column::File:
            return row->fileText;
        case Column::Guid:
            return GuidText(row->guid);
        case Column::Copy:
            return row->identicalCopy ? QStringLiteral("identical copy") : QString();
        case Column::Problem:
            return row->problem;
        case Column::Lots:
            return QString::number(row->lots);
        case Column::Icon:
            break;
        }
        return {};
    case Qt::DecorationRole:
        if (column == Column::Icon && m_icons && !row->isProblem()) {
            const QPixmap icon = m_icons(*row);
            if (!icon.isNull())
                return icon;
        }
        return {};
    case Qt::ToolTipRole:
        if (column == Column::File)
            return row->canOpen ? row->wholePath
                                : QStringLiteral("%1\n(in a game archive: it cannot be opened)")
                                      .arg(row->wholePath);
        if (column == Column::Problem)
            return row->problem;
        if (column == Column::Lots && row->lots > 0)
            return row->lotsText;
        return {};
    case Qt::TextAlignmentRole:
        if (column == Column::Price || column == Column::Lots)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (!row->canOpen)
            return QBrush(QColor(110, 110, 110));
        return {};
    case Qt::BackgroundRole:
        if (m_grouped && row->group % 2 == 1)
            return QBrush(QColor(228, 238, 248));
        return {};
    default:
        return {};
    }
}

QVariant FindTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return Caption(m_columns.at(section));
}
