// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;
class QGroupBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// Geometry is given in twips (15 twips = 1 pixel at 96 dpi), fixed.
constexpr int Twips(int twips)
{
    return (twips + 7) / 15;
}
void PlaceTwips(QWidget* widget, int left, int top, int width, int height);

// Dark blue (0, 81, 140) with white text; buttons white; font "Comic Sans MS", falling back
// to Comic Neue, then to the default.
QColor KestraneBlue();
QFont KestraneFont();
// Styles a window and every frame, label, check box and picture box inside it.
void ApplyWindowStyle(QWidget* window);
// Sets a label's text in the window's font, made smaller (down to 6 points) where the text
// would be wider than the label, so that a long text never runs under the next control.
void SetFittedText(QLabel* label, const QString& text);
QGroupBox* MakeFrame(QWidget* parent, const QString& caption, int left, int top, int width,
                     int height);

// Report-style list views: row keys live in item data (Qt::UserRole of column 0); zero-width
// columns are hidden columns. A single-choice list never lets the person clear its choice.
QTreeWidget* MakeListView(QWidget* parent, const QStringList& columns, int left, int top, int width,
                          int height, bool singleChoice = false);
QTreeWidgetItem* AddKeyedRow(QTreeWidget* list, const QString& key, const QString& text);
QString RowKey(const QTreeWidgetItem* item);
// The number at the start of a key ("12#" -> 12, "File7" after its prefix -> see callers).
int LeadingNumber(const QString& text);
QTreeWidgetItem* FindRowByKey(QTreeWidget* list, const QString& key);
