// Saving the shown object and the unsaved-changes check.
#include "CatalogText.h"
#include "Cp1252.h"
#include "IffError.h"
#include "PriceText.h"
#include "Prompt.h"
#include "WindowStyle.h"
#include "clsIFF.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace
{

// The sorts to store for what the lists show. A stored bit that no row of a fixed list stands
// for, and a Build Mode beyond the list while "None" stays selected, cannot be shown or
// changed here, so they are kept rather than dropped by merely viewing the object.
SortSet KeepUnshownSorts(const SortLists& lists, const SortSet& shown, const SortSet& stored)
{
    SortSet result = shown;
    for (int slot : {0, 2, 3, 4, 5, 6, 7}) {
        qint32 representable = 0;
        for (int row = 0; row < lists[slot]->topLevelItemCount(); ++row)
            representable |= LeadingNumber(RowKey(lists[slot]->topLevelItem(row)));
        result[slot] |= stored[slot] & ~representable;
    }
    if ((stored[8] < 0 || stored[8] > 7) && shown[8] == 0)
        result[8] = stored[8];
    return result;
}

} // namespace

void frmMain::cmdSave_Click()
{
    if (!cmdSave->isEnabled())
        return;
    const QString path = CurrentFilePath();
    if (path.isEmpty() || CurrentObject == -1)
        return;

    // Text the catalog cannot hold is refused before anything changes, and the edits stay.
    QString error;
    const std::optional<QByteArray> name = EncodeCatalogText(txtName->text(), &error);
    if (!name) {
        ShowMessage(error);
        return;
    }
    const std::optional<QByteArray> description =
        EncodeCatalogText(txtDescript->toPlainText(), &error);
    if (!description) {
        ShowMessage(error);
        return;
    }

    BeginBusy();
    clsIFF& document = Doc();
    const auto objd = quint16(CurrentObject);
    document.SetCtss(objd, *name, *description);
    // A damaged object whose definition is too short for a field keeps that field as it was;
    // the rest is saved and the user is told which fields were not.
    QStringList refused;
    if (!document.SetPrice(objd, PriceFromText(txtPrice->text())))
        refused << QStringLiteral("price");
    if (!document.SetDisabled(objd, chkDisabled->isChecked()))
        refused << QStringLiteral("Disabled flag");
    try {
        if (!document.SetSorts(objd, KeepUnshownSorts(lstSort, ReadSortsFromLists(lstSort),
                                                      document.GetSorts(objd))))
            refused << QStringLiteral("catalog sorts");
    } catch (const IffError&) {
        // Not held: SaveFile below writes the file as the document has it.
    }
    const bool saved = document.SaveFile(path);
    if (!saved) {
        // The setters changed the document already; read it back from the file so that it
        // again says what the file holds and the panel's edits count as unsaved.
        const QString reason = document.errorString();
        document.Clear();
        document.LoadFile(path);
        EndBusy();
        ShowMessage(QStringLiteral("The file %1 could not be saved: %2").arg(path, reason));
        return;
    }
    EndBusy();
    if (!refused.isEmpty())
        ShowMessage(QStringLiteral("This object's definition is too short to hold its %1, so "
                                   "that was not saved. Everything else was saved.")
                        .arg(refused.join(QStringLiteral(", "))));
}

void frmMain::CheckSave()
{
    if (CurrentObject == -1)
        return;
    // A file whose row is gone (deleted) has nothing to compare with or to save into.
    if (CurrentFilePath().isEmpty())
        return;
    clsIFF& document = Doc();
    const auto objd = quint16(CurrentObject);
    bool changed = false;
    try {
        if (txtName->isEnabled() && txtName->text() != DecodeCp1252(document.GetName(objd)))
            changed = true;
        if (txtDescript->isEnabled() &&
            txtDescript->toPlainText() != DecodeCp1252(document.GetDescription(objd)))
            changed = true;
        if (PriceFromText(txtPrice->text()) != document.GetPrice(objd))
            changed = true;
        if (document.GetDisabled(objd) != chkDisabled->isChecked())
            changed = true;
        const SortSet stored = document.GetSorts(objd);
        const SortSet shown = KeepUnshownSorts(lstSort, ReadSortsFromLists(lstSort), stored);
        for (int slot = 0; slot < 9 && !changed; ++slot) {
            if (slot == 1 && stored[1] == 128)
                continue;
            if (shown[slot] != stored[slot])
                changed = true;
        }
    } catch (const IffError&) {
        return; // the document no longer holds the object (its file could not be read back)
    }
    if (!changed)
        return;
    if (chkAutoSave->isChecked()) {
        cmdSave_Click();
        return;
    }
    const PromptAnswer answer = CurrentPrompt().message(
        QStringLiteral("This objects has changed. Would you like to save the changes?"), QString(),
        PromptIcon::Exclamation, PromptButtons::YesNo);
    if (answer == PromptAnswer::Yes)
        cmdSave_Click();
}
