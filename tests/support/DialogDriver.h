#pragma once

// Helpers for GUI tests that drive the program's windows the way a person does: clicks on
// rows and check boxes, and answering a modal window opened by the code under test.
// Header-only: the support library itself does not link the widgets module.

#include "ProgramState.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Puts ProgramState back as it was when the test began.
class ProgramStateGuard
{
public:
    ProgramStateGuard() : m_saved(ProgramState) {}
    ~ProgramStateGuard() { ProgramState = m_saved; }
    ProgramStateGuard(const ProgramStateGuard&) = delete;
    ProgramStateGuard& operator=(const ProgramStateGuard&) = delete;

private:
    ProgramStateData m_saved;
};

inline QTreeWidgetItem* RowByText(QTreeWidget* list, const QString& text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == text)
            return list->topLevelItem(i);
    }
    return nullptr;
}

inline QStringList RowTexts(const QTreeWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(0);
    return texts;
}

inline QStringList RowKeys(const QTreeWidget* list)
{
    QStringList keys;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        keys << list->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return keys;
}

inline QStringList CheckedTexts(const QTreeWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->checkState(0) == Qt::Checked)
            texts << list->topLevelItem(i)->text(0);
    }
    return texts;
}

inline QStringList SelectedTexts(const QTreeWidget* list)
{
    QStringList texts;
    for (const QTreeWidgetItem* item : list->selectedItems())
        texts << item->text(0);
    return texts;
}

// A mouse click on the row's text, as a person choosing the row.
inline void ClickRow(QTreeWidget* list, QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    ASSERT_TRUE(rect.isValid());
    // Two thirds across the first column: on the text, clear of the check box.
    const int x = list->columnViewportPosition(0) + list->columnWidth(0) * 2 / 3;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(x, rect.center().y()));
}

// A mouse click on the row's check box.
inline void ClickCheckBox(QTreeWidget* list, QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(item);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = item->checkState(0);
    option.state |= QStyle::State_Enabled;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    ASSERT_TRUE(box.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

template <typename T>
void RunWhenModal(std::function<void(T*)> act, std::shared_ptr<bool> ran, int triesLeft)
{
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [act, ran, triesLeft] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window) {
            // The code under test may not have reached its exec() yet.
            if (triesLeft > 0) {
                RunWhenModal<T>(act, ran, triesLeft - 1);
                return;
            }
            ADD_FAILURE() << "the expected modal window did not open";
            return;
        }
        *ran = true;
        act(window);
        if (window->isVisible())
            window->close();
    });
}

// Runs act on the next modal window of type T once the code under test has opened it (two
// seconds at most), then closes that window if act left it open, so that a failing test
// cannot hang. The flag tells whether act ran.
template <typename T> std::shared_ptr<bool> WhenModalOpens(std::function<void(T*)> act)
{
    auto ran = std::make_shared<bool>(false);
    RunWhenModal<T>(std::move(act), ran, 200);
    return ran;
}
