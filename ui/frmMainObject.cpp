// The object list and the properties panel of the main window.
#include "Cp1252.h"
#include "IffError.h"
#include "WindowStyle.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace
{

constexpr int kIdColumn = 1;
const QByteArray kNoText = QByteArrayLiteral("*NONE*");

} // namespace

void frmMain::ShowCatalogText(QWidget* box, const QByteArray& text)
{
    const bool present = text != kNoText;
    const QString shown = present ? DecodeCp1252(text) : QString();
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(shown);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->setPlainText(shown);
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

void frmMain::lstObjects_ItemClick(QTreeWidgetItem* Item)
{
    if (!Item)
        return;
    const int id = Item->text(kIdColumn).toInt();
    if (id == CurrentObject)
        return;
    if (CurrentObject != -1)
        CheckSave();
    CurrentObject = id;
    clsIFF& document = Doc();
    const auto objd = quint16(id);

    ShowCatalogText(txtName, document.GetName(objd));
    ShowCatalogText(txtDescript, document.GetDescription(objd));
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
    txtDescript->update();
    txtName->update();
    txtPrice->update();
}

void frmMain::lstSort_ItemCheck(int Index, QTreeWidgetItem* Item)
{
    Q_UNUSED(Item);
    if (Index == 0)
        RefreshSubFunctionList(lstSort[1], lstSort[0]);
}

void frmMain::lstSort_ItemClick(int Index, QTreeWidgetItem* Item)
{
    Q_UNUSED(Item);
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
