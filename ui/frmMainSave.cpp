// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the shown object and the unsaved-changes check.
#include "CatalogText.h"
#include "ChangeSummary.h"
#include "Cp1252.h"
#include "HistoryStore.h"
#include "IffError.h"
#include "KeptSave.h"
#include "ObjectEdit.h"
#include "PriceText.h"
#include "ProgramState.h"
#include "Prompt.h"
#include "WindowStyle.h"
#include "clsIFF.h"
#include "clsResource.h"
#include "frmFind.h"
#include "frmMain.h"
#include "modConvert.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace
{

// The bodies a save may change, to put back when the file could not be written: the document
// then again says what the file holds, whole, and the panel's edits count as unsaved.
class BodySnapshot
{
public:
    explicit BodySnapshot(const clsIFF& document)
    {
        m_bodies.reserve(document.ResourceCount());
        for (int position = 1; position <= document.ResourceCount(); ++position)
            m_bodies.append(document.Resource(position).Body()); // shared, not copied
    }
    void restore(clsIFF& document) const
    {
        for (int position = 1; position <= document.ResourceCount(); ++position) {
            clsResource& record = document.Resource(position);
            const QByteArray& before = m_bodies.value(position - 1);
            if (record.Body().constData() != before.constData())
                record.SetBody(before);
        }
    }

private:
    QList<QByteArray> m_bodies;
};

} // namespace

frmMain::PanelEdits frmMain::ReadPanelEdits(bool forCheck) const
{
    const clsIFF& document = *Document;
    const auto objd = quint16(CurrentObject);
    PanelEdits edits;
    // A disabled box stands for an object without catalog text, a read-only one for text that
    // cannot be saved: neither is compared or written.
    const auto readText = [&](const QWidget* box, const ShownCatalogText& shown,
                              const QString& text, const QByteArray& stored,
                              std::optional<QByteArray>& out) {
        if (!box->isEnabled() || box->property("readOnly").toBool())
            return;
        QString error;
        const std::optional<QByteArray> bytes = shown.bytesFor(text, &error);
        if (!bytes)
            edits.textError = error;
        else if (*bytes != stored)
            out = bytes;
    };
    readText(txtDescript, m_shownDescription, DescriptionText(), document.GetDescription(objd),
             edits.description);
    readText(txtName, m_shownName, txtName->text(), document.GetName(objd), edits.name);

    const qint32 price = PriceFromText(txtPrice->text());
    if (price != document.GetPrice(objd))
        edits.price = price;
    // Compared with what the box showed, so a Disabled value other than 0 and 1 stays as it
    // is until the box is changed.
    if (chkDisabled->isChecked() != document.GetDisabled(objd))
        edits.disabled = chkDisabled->isChecked();

    const SortSet stored = document.GetSorts(objd);
    const SortSet shown = ReadSortsFromLists(lstSort);
    SortSet result = stored;
    bool sortsDiffer = false;
    for (int slot = 0; slot < 9; ++slot) {
        if (!m_sortTouched[slot])
            continue;
        result[slot] = shown[slot];
        // The check has never compared a Sub-Function stored as 128.
        if (forCheck && slot == 1 && stored[1] == 128)
            continue;
        sortsDiffer = sortsDiffer || shown[slot] != stored[slot];
    }
    if (sortsDiffer || (!forCheck && result != stored))
        edits.sorts = result;
    return edits;
}

bool frmMain::cmdSave_Click()
{
    if (!cmdSave->isEnabled())
        return true;
    const QString path = CurrentFilePath();
    if (path.isEmpty() || CurrentObject == -1)
        return true;

    clsIFF& document = Doc();
    const auto objd = quint16(CurrentObject);
    PanelEdits edits;
    try {
        edits = ReadPanelEdits(false);
    } catch (const IffError&) {
        return true; // the document does not hold the object: nothing to save into
    }
    // Text the catalog cannot hold is refused before anything changes, and the edits stay.
    if (!edits.textError.isEmpty()) {
        ShowMessage(edits.textError);
        return false;
    }

    if (!AgreeToDropDamage())
        return false;

    BeginBusy();
    const BodySnapshot before(document);
    const ObjectFields fieldsBefore = ReadObjectFields(document, objd);
    // Only what the person changed is written: a field merely viewed keeps its stored bytes.
    ObjectEdit edit;
    edit.name = edits.name;
    edit.description = edits.description;
    edit.price = edits.price;
    edit.disabled = edits.disabled;
    edit.sorts = edits.sorts;
    QString refusal;
    const ObjectFields after =
        PlanObjectEdit(objd, fieldsBefore, edit, &refusal).value_or(fieldsBefore);
    // The boxes of text that cannot be stored are read-only, so a text refusal is a safeguard.
    // A damaged object whose definition is too short for a field keeps that field as it was;
    // the rest is saved and the user is told which fields were not.
    const EditOutcome written = ApplyObjectEdit(document, objd, fieldsBefore, after);
    const bool textRefused = written.textRefused;
    const QStringList& refused = written.refused;
    const ChangeInfo change{
        QStringLiteral("window"), QString(),
        DescribeObjectChange(objd, fieldsBefore, ReadObjectFields(document, objd))};
    QString reason;
    if (!SaveDocumentKept(History(), document, path, change, &reason)) {
        before.restore(document);
        EndBusy();
        ShowMessage(QStringLiteral("The file %1 could not be saved: %2").arg(path, reason));
        return false;
    }
    ShowSavedValues();
    EndBusy();
    // Find Object shows what the files hold: its scan reads the saved file again.
    if (m_find && m_find->isVisible())
        m_find->cmdRescan->click();
    if (textRefused)
        ShowMessage(QStringLiteral("The catalog text of this object cannot be changed, so it "
                                   "was not saved. Everything else was saved."));
    if (!refused.isEmpty())
        ShowMessage(QStringLiteral("This object's definition is too short to hold its %1, so "
                                   "that was not saved. Everything else was saved.")
                        .arg(refused.join(QStringLiteral(", "))));
    return true;
}

HistoryStore& frmMain::History()
{
    if (!m_history ||
        m_history->folder() != ProgramState.ProgramFolder + QStringLiteral("history/"))
        m_history = std::make_unique<HistoryStore>(ProgramState.ProgramFolder);
    return *m_history;
}

bool frmMain::AgreeToDropDamage()
{
    const QString damage = Doc().damageString();
    if (damage.isEmpty() || m_damageAccepted)
        return true;
    HistoryStore& history = History();
    const bool kept = (history.isOpen() || history.open()) && history.enabled();
    const QString question =
        QStringLiteral("This file is damaged: %1.\n\nSaving it drops the part that could not be "
                       "read. %2\n\nSave it anyway?")
            .arg(damage, kept ? QStringLiteral("The original stays in the history, so it can "
                                               "be restored.")
                              : QStringLiteral("The history of changes is off, so the original "
                                               "is not kept."));
    if (CurrentPrompt().message(question, QString(), PromptIcon::Exclamation,
                                PromptButtons::YesNo) != PromptAnswer::Yes)
        return false;
    m_damageAccepted = true;
    return true;
}

void frmMain::ShowSavedValues()
{
    const clsIFF& document = *Document;
    const auto objd = quint16(CurrentObject);
    // A price outside 0-65535 was stored as its low 16 bits; the box says so.
    const QString price = QString::number(document.GetPrice(objd));
    if (txtPrice->text() != price)
        txtPrice->setText(price);
    chkDisabled->setChecked(document.GetDisabled(objd));
    if (txtName->isEnabled()) {
        m_shownName = ShownCatalogText(document.GetName(objd), false);
        if (txtName->text() != m_shownName.text())
            txtName->setText(m_shownName.text());
    }
    if (txtDescript->isEnabled()) {
        m_shownDescription = ShownCatalogText(document.GetDescription(objd), true);
        if (DescriptionText() != m_shownDescription.text())
            txtDescript->setPlainText(m_shownDescription.text());
    }
    const SortSet stored = document.GetSorts(objd);
    if (ReadSortsFromLists(lstSort) != stored)
        ShowSortSet(lstSort, picSort, stored);
    m_sortTouched.fill(false);
}

bool frmMain::CheckSave()
{
    if (CurrentObject == -1)
        return true;
    // A file whose row is gone (deleted) has nothing to compare with or to save into.
    if (CurrentFilePath().isEmpty())
        return true;
    Doc();
    PanelEdits edits;
    try {
        edits = ReadPanelEdits(true);
    } catch (const IffError&) {
        return true; // the document no longer holds the object
    }
    if (!edits.any())
        return true;
    if (chkAutoSave->isChecked())
        return cmdSave_Click();
    const PromptAnswer answer = CurrentPrompt().message(
        QStringLiteral("This objects has changed. Would you like to save the changes?"), QString(),
        PromptIcon::Exclamation, PromptButtons::YesNo);
    return answer != PromptAnswer::Yes || cmdSave_Click();
}
