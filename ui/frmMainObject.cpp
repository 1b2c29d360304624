// SPDX-License-Identifier: GPL-3.0-or-later
// The object list and the properties panel of the main window.
#include "Cp1252.h"
#include "GameLanguages.h"
#include "IffError.h"
#include "ProgramState.h"
#include "WindowStyle.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTreeWidget>

namespace
{

constexpr int kIdColumn = 1;
const QByteArray kNoText = QByteArrayLiteral("*NONE*");

} // namespace

void frmMain::ShowCatalogText(QWidget* box, const QByteArray& text)
{
    const bool present = text != kNoText;
    // The box shows the stored bytes through ShownCatalogText, which gives them back unchanged
    // for as long as the person does not edit them.
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        m_shownName = ShownCatalogText(present ? text : QByteArray(), false);
        line->setText(m_shownName.text());
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        m_shownDescription = ShownCatalogText(present ? text : QByteArray(), true);
        plain->setPlainText(m_shownDescription.text());
    }
    // A grey, disabled box stands for an object without catalog text; saving and the
    // unsaved-changes check read that from the enabled state.
    QPalette palette = box->palette();
    const QColor background =
        present ? QApplication::palette().color(QPalette::Base) : QColor(224, 224, 224);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, background);
    box->setPalette(palette);
    box->setEnabled(present);
}

QString frmMain::DescriptionText() const
{
    // toPlainText would turn non-breaking spaces into spaces; the raw text keeps them and marks
    // line breaks (Enter, Shift+Enter) with separators of its own.
    QString text = txtDescript->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

QTreeWidgetItem* frmMain::ObjectRow(int id) const
{
    for (int row = 0; row < lstObjects->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = lstObjects->topLevelItem(row);
        if (item->text(kIdColumn).toInt() == id)
            return item;
    }
    return nullptr;
}

void frmMain::SelectQuietly(QTreeWidget* list, QTreeWidgetItem* item)
{
    const QSignalBlocker blocker(list);
    list->clearSelection();
    if (!item)
        return;
    list->setCurrentItem(item);
    item->setSelected(true);
    list->scrollToItem(item);
}

void frmMain::lstObjects_ItemClick(QTreeWidgetItem* Item)
{
    if (!Item)
        return;
    const int id = Item->text(kIdColumn).toInt();
    if (id == CurrentObject)
        return;
    if (CurrentObject != -1 && !CheckSave()) {
        // The edits could not be saved: stay on the object that holds them.
        SelectQuietly(lstObjects, ObjectRow(CurrentObject));
        return;
    }
    CurrentObject = id;
    clsIFF& document = Doc();
    const auto objd = quint16(id);

    ShowCatalogText(txtName, document.GetName(objd));
    ShowCatalogText(txtDescript, document.GetDescription(objd));
    // The game shows US English where its own language has no text; so does the panel.
    const quint8 shown = document.GetCatalogLanguage(objd);
    const bool fallback = shown != 0 && shown != ProgramState.GameLanguage;
    SetFittedText(lblLanguageNote, fallback
                                       ? QStringLiteral("(%1: no text for %2)")
                                             .arg(GameLanguages::Name(shown),
                                                  GameLanguages::Name(ProgramState.GameLanguage))
                                       : QString());
    lblLanguageNote->setToolTip(lblLanguageNote->text());
    lblLanguageNote->setVisible(fallback);
    // Text that a save could not store (another string-list format, a damaged or one-string
    // catalog text) is shown read-only, with the reason at hand.
    const CatalogTextAccess access = document.GetCatalogTextAccess(objd);
    for (const auto& [box, writable] : {std::pair<QWidget*, bool>{txtName, access.nameWritable},
                                        {txtDescript, access.descriptionWritable}}) {
        box->setProperty("readOnly", !writable);
        box->setToolTip(writable ? QString() : access.reason);
    }
    SortSet sorts{};
    try {
        txtPrice->setText(QString::number(document.GetPrice(objd)));
        chkDisabled->setChecked(document.GetDisabled(objd));
        sorts = document.GetSorts(objd);
    } catch (const IffError&) {
        // Listed objects are held by the document; should one be missing, show it empty.
        txtPrice->setText(QStringLiteral("0"));
        chkDisabled->setChecked(false);
    }
    ShowIcon(document.GetIcon(objd, m_noIcon));
    ShowSortSet(lstSort, picSort, sorts);
    m_sortTouched.fill(false);
    txtDescript->update();
    txtName->update();
    txtPrice->update();
}

void frmMain::lstSort_ItemCheck(int Index, QTreeWidgetItem* Item)
{
    Q_UNUSED(Item);
    m_sortTouched[Index] = true;
    if (Index == 0) {
        // The Sub-Function rows follow the Function checks, so both slots now say what shows.
        RefreshSubFunctionList(lstSort[1], lstSort[0]);
        m_sortTouched[1] = true;
    }
}

void frmMain::lstSort_ItemClick(int Index, QTreeWidgetItem* Item)
{
    Q_UNUSED(Item);
    // A click on a Function row only shows another group of Sub-Function rows; choosing a
    // Build Mode row, even the one already chosen, is a choice.
    if (Index == 8)
        m_sortTouched[8] = true;
    if (Index == 0)
        RefreshSubFunctionList(lstSort[1], lstSort[0]);
}

void frmMain::txtPrice_Change()
{
    const QString text = txtPrice->text();
    const QString filtered = DigitsOnly(text);
    if (filtered != text) {
        const int cursor = txtPrice->cursorPosition() - (text.size() - filtered.size());
        txtPrice->setText(filtered);
        txtPrice->setCursorPosition(qBound(0, cursor, int(filtered.size())));
    }
}
