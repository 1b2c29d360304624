// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowStyle.h"

#include "SingleChoiceList.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QWidget>
#include <algorithm>
#include <climits>

void PlaceTwips(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

QColor KestraneBlue()
{
    return QColor(0, 81, 140);
}

QFont KestraneFont()
{
    // Looking the families up is slow; every window asks, so do it once.
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* wanted : {"Comic Sans MS", "Comic Neue"}) {
            if (families.contains(QString::fromLatin1(wanted), Qt::CaseInsensitive))
                return QString::fromLatin1(wanted);
        }
        return QString();
    }();
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPointSizeF(8.25);
    return font;
}

void SetFittedText(QLabel* label, const QString& text)
{
    QFont font = label->parentWidget() ? label->parentWidget()->font() : KestraneFont();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > label->width())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
    label->setText(text);
}

void ApplyWindowStyle(QWidget* window)
{
    window->setFont(KestraneFont());
    QPalette palette = window->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, KestraneBlue());
        palette.setColor(group, QPalette::WindowText, Qt::white);
        palette.setColor(group, QPalette::Button, Qt::white);
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(200, 200, 200));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QGroupBox* MakeFrame(QWidget* parent, const QString& caption, int left, int top, int width,
                     int height)
{
    auto* frame = new QGroupBox(caption, parent);
    PlaceTwips(frame, left, top, width, height);
    return frame;
}

QTreeWidget* MakeListView(QWidget* parent, const QStringList& columns, int left, int top, int width,
                          int height, bool singleChoice)
{
    auto* list = singleChoice ? new SingleChoiceList(parent) : new QTreeWidget(parent);
    list->setColumnCount(columns.size());
    list->setHeaderLabels(columns);
    for (int column = 1; column < columns.size(); ++column)
        list->setColumnHidden(column, true);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(false);
    // The one shown column is sized to the list; long texts are elided, not scrolled.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setAutoFillBackground(true);
    PlaceTwips(list, left, top, width, height);
    list->setColumnWidth(0, list->width() - Twips(270));
    return list;
}

QTreeWidgetItem* AddKeyedRow(QTreeWidget* list, const QString& key, const QString& text)
{
    auto* item = new QTreeWidgetItem(list);
    item->setText(0, text);
    item->setData(0, Qt::UserRole, key);
    return item;
}

QString RowKey(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

int LeadingNumber(const QString& text)
{
    qint64 value = 0;
    int i = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        i = 1;
    for (; i < text.size() && text.at(i).isDigit(); ++i) {
        value = value * 10 + text.at(i).digitValue();
        if (value > 2147483648LL)
            break; // keys are program-made; anything this long is damage, not a number
    }
    if (negative)
        value = -value;
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

QTreeWidgetItem* FindRowByKey(QTreeWidget* list, const QString& key)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (RowKey(item) == key)
            return item;
    }
    return nullptr;
}
