// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FindRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPixmap>
#include <functional>
#include <vector>

// The rows of one view of the Find Object window, filtered by the search words and sorted by
// a column. Filtering walks the sorted order once and keeps it, so a keystroke costs one pass
// over the rows whatever their number. Icons are asked for only when a row is painted.
class FindTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Column { Icon, Name, Price, File, Guid, Copy, Problem, Lots };
    // Gives the icon of a row when it is at hand, or a null pixmap and asks for it to be
    // loaded; iconReady() then repaints the rows that show it.
    using IconSource = std::function<QPixmap(const FindRow&)>;

    explicit FindTableModel(QObject* parent = nullptr);

    // Replaces the rows and the columns shown. Conflict rows keep their group together under
    // any sort.
    void setRows(QList<FindRow> rows, const QList<Column>& columns, bool grouped);
    void setIconSource(IconSource source) { m_icons = std::move(source); }
    // Gives the indexes of the rows (as passed to setRows) that match a text; unset, every
    // word must occur in a row's search text, case ignored.
    using Matcher = std::function<QList<int>(const QString&)>;
    void setMatcher(Matcher matcher) { m_matcher = std::move(matcher); }
    void setFilter(const QString& text);
    QString filter() const { return m_filterText; }

    const FindRow* rowAt(int row) const;
    int allRowCount() const { return int(m_rows.size()); }
    Column columnAt(int column) const { return m_columns.value(column); }
    int columnOf(Column column) const { return int(m_columns.indexOf(column)); }
    // Repaints the shown rows whose icon came in.
    void iconReady();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void applySort();
    void applyFilter();
    bool less(int a, int b) const;

    QList<FindRow> m_rows;
    QList<Column> m_columns;
    bool m_grouped = false;
    std::vector<int> m_sorted;       // all rows in sort order
    std::vector<int> m_shown;        // the rows that pass the filter, in sort order
    std::vector<QString> m_sortKeys; // while sorting by text: each row's, case-folded
    QString m_filterText;
    QStringList m_words;
    QList<int> m_lotNumbers; // "lot:N" of the filter: only rows placed on those lots
    Column m_sortColumn = Column::File;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    IconSource m_icons;
    Matcher m_matcher;
};
