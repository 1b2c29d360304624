// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistorySettings.h"

#include "HistoryStore.h"
#include "Prompt.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

namespace
{

constexpr qint64 kMebibyte = 1024 * 1024;
constexpr int kMostMebibytes = 1024 * 1024; // 1 TiB

QString SizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

} // namespace

HistorySettings::HistorySettings(std::function<HistoryStore&()> store, QWidget* parent)
    : QWidget(parent), m_store(std::move(store))
{
    chkKeep = new QCheckBox(QStringLiteral("&Keep a history of changes"), this);
    auto* limitLabel = new QLabel(QStringLiteral("Size &limit:"), this);
    spnLimit = new QSpinBox(this);
    spnLimit->setRange(1, kMostMebibytes);
    spnLimit->setSingleStep(256);
    spnLimit->setSuffix(QStringLiteral(" MiB"));
    spnLimit->setAccelerated(true);
    // Applied when the person is done (Enter, leaving the box, a step), not at every digit:
    // a limit typed on its way to 2048 must not prune to 2 MiB.
    spnLimit->setKeyboardTracking(false);
    limitLabel->setBuddy(spnLimit);
    lblSize = new QLabel(this);
    cmdForget = new QPushButton(QStringLiteral("Forget &history…"), this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chkKeep);
    layout->addSpacing(12);
    layout->addWidget(limitLabel);
    layout->addWidget(spnLimit);
    layout->addSpacing(12);
    layout->addWidget(lblSize, 1);
    layout->addWidget(cmdForget);

    connect(chkKeep, &QCheckBox::toggled, this, [this](bool on) { setKeeping(on); });
    connect(spnLimit, &QSpinBox::valueChanged, this, [this](int value) { setLimit(value); });
    connect(cmdForget, &QPushButton::clicked, this, [this] { forgetHistory(); });
}

void HistorySettings::refresh()
{
    {
        const QSignalBlocker blocker(chkKeep);
        chkKeep->setChecked(m_store().enabled());
    }
    {
        const QSignalBlocker blocker(spnLimit);
        const qint64 mebibytes = (m_store().sizeLimit() + kMebibyte - 1) / kMebibyte;
        spnLimit->setValue(int(std::clamp<qint64>(mebibytes, 1, kMostMebibytes)));
    }
    lblSize->setText(QStringLiteral("The history takes %1.").arg(SizeText(m_store().storeSize())));
}

void HistorySettings::setKeeping(bool on)
{
    QString error;
    if (!m_store().setEnabled(on, &error)) {
        ShowMessage(QStringLiteral("The setting could not be changed: %1").arg(error));
        refresh();
        return;
    }
    Q_EMIT keepingChanged(on);
}

void HistorySettings::setLimit(int mebibytes)
{
    const qint64 limit = qint64(mebibytes) * kMebibyte;
    if (limit == m_store().sizeLimit())
        return;
    // Lowering the limit below what the history takes prunes copies at once.
    if (limit < m_store().storeSize() &&
        CurrentPrompt().message(
            QStringLiteral("The history takes %1. With a limit of %2, older copies are removed "
                           "now, oldest first, and the changes they belong to can no longer "
                           "be restored. (The copy of each file from before Kestrane first "
                           "changed it is always kept.) Lower the limit?")
                .arg(SizeText(m_store().storeSize()), SizeText(limit)),
            QString(), PromptIcon::Exclamation, PromptButtons::YesNo) != PromptAnswer::Yes) {
        refresh();
        return;
    }
    QString error;
    if (!m_store().setSizeLimit(limit, &error))
        ShowMessage(QStringLiteral("The size limit could not be changed: %1").arg(error));
    refresh();
}

void HistorySettings::forgetHistory()
{
    if (CurrentPrompt().message(
            QStringLiteral("Forget the whole history of changes? Every kept copy is removed, and "
                           "no change made so far can be restored."),
            QString(), PromptIcon::Exclamation, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    QString error;
    if (!m_store().forget(std::nullopt, &error))
        ShowMessage(QStringLiteral("The history could not be forgotten: %1").arg(error));
    refresh();
    Q_EMIT forgotten();
}
