// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Drives windows as a person does. Header-only: the support library links no widgets.

#include "../app/AppTestEnv.h"
#include "ScriptedPrompt.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

// The GUI test process's one QApplication (offscreen unless set), kept: widgets may outlive tests.
inline QApplication* EnsureGuiApp()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("kestrane-gui-test"), nullptr};
    static auto* app = new QApplication(argc, argv);
    return app;
}

inline bool operator==(const FolderEntry& a, const FolderEntry& b)
{
    return a.Path == b.Path && a.IncludeSubfolders == b.IncludeSubfolders;
}
inline bool operator==(const Preset& a, const Preset& b)
{
    return a.Name == b.Name && a.Sorts == b.Sorts;
}

// A message box in one line: title, icon, buttons and text, to compare in full.
inline QString Question(const QString& text, PromptIcon icon,
                        PromptButtons buttons = PromptButtons::YesNo,
                        const QString& title = QStringLiteral("Kestrane"))
{
    return QStringLiteral("%1 [%2/%3] %4")
        .arg(title, QString::number(int(icon)), QString::number(int(buttons)), text);
}
// The text of the one message box asked since the last look (a failure if not one).
inline QString OneMessage(ScriptedPrompt& prompt)
{
    const QStringList told = prompt.messages();
    prompt.clearAsked();
    EXPECT_EQ(told.size(), 1) << told.join('\n').toStdString();
    return told.value(0);
}
// Every message box asked so far, as Question gives them.
inline QStringList Questions(const ScriptedPrompt& prompt)
{
    QStringList out;
    for (const ScriptedPrompt::Asked& asked : prompt.asked())
        if (asked.kind == ScriptedPrompt::Kind::Message)
            out << Question(asked.text, asked.icon, asked.buttons, asked.title);
    return out;
}

// The rows of a list that pass keep, in order, as their text.
inline QStringList Rows(const QTreeWidget* list,
                        const std::function<bool(const QTreeWidgetItem*)>& keep = {})
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        if (!keep || keep(item))
            out << item->text(0);
    }
    return out;
}
inline QStringList CheckedTexts(const QTreeWidget* list)
{
    return Rows(list, [](const QTreeWidgetItem* row) { return row->checkState(0) == Qt::Checked; });
}
inline QStringList SelectedTexts(const QTreeWidget* list)
{
    return Rows(list, [](const QTreeWidgetItem* item) { return item->isSelected(); });
}
inline QTreeWidgetItem* RowByText(QTreeWidget* list, const QString& text)
{
    return list->findItems(text, Qt::MatchExactly).value(0);
}

// A list in one line: each row's key and text, "*" before a selected row.
inline QString Listed(const QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        out << (row->isSelected() ? "*" : "") + row->data(0, Qt::UserRole).toString() +
                   row->text(0);
    }
    return out.join('|');
}

// A mouse click on the row's text (two thirds across the first column, clear of the box).
inline void ClickRow(QTreeWidget* list, QTreeWidgetItem* item,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    const QRect rect = list->visualItemRect(item);
    ASSERT_TRUE(rect.isValid());
    const int x = list->columnViewportPosition(0) + list->columnWidth(0) * 2 / 3;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, QPoint(x, rect.center().y()));
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

// Runs act on the next modal T (two seconds at most), then closes it: no hang. Flag: act ran.
template <typename T>
std::shared_ptr<bool> WhenModalOpens(std::function<void(T*)> act, int triesLeft = 200,
                                     std::shared_ptr<bool> ran = std::make_shared<bool>(false))
{
    QTimer::singleShot(triesLeft == 200 ? 0 : 10, [act, ran, triesLeft] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window && triesLeft > 0) // the code under test may not have reached exec() yet
            WhenModalOpens<T>(act, triesLeft - 1, ran);
        else if (!window)
            ADD_FAILURE() << "the expected modal window did not open";
        else {
            *ran = true;
            act(window);
            if (window->isVisible())
                window->close();
        }
    });
    return ran;
}
