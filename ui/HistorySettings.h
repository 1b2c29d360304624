// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

class HistoryStore;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The History window's settings, kept in the history itself (shared with kestrane-cli):
// whether changes are kept, the size limit, the size the history takes, and forgetting it.
class HistorySettings : public QWidget
{
    Q_OBJECT

public:
    // store gives the history in use (the main window may make it anew for another data
    // folder).
    HistorySettings(std::function<HistoryStore&()> store, QWidget* parent);

    // Shows the settings and the size as the history now holds them.
    void refresh();
    // Asks first, then forgets every change and its copies.
    void forgetHistory();

    QCheckBox* chkKeep = nullptr;
    QSpinBox* spnLimit = nullptr; // MiB
    QLabel* lblSize = nullptr;
    QPushButton* cmdForget = nullptr;

Q_SIGNALS:
    // Keeping was switched on or off.
    void keepingChanged(bool on);
    // The history was forgotten: its list is empty now.
    void forgotten();

private:
    void setKeeping(bool on);
    void setLimit(int mebibytes);

    std::function<HistoryStore&()> m_store;
};
