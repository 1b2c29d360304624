// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Replaces ProgramState.Folders with the twelve folders of a standard installation under
// ProgramState.GameFolder.
void SetDefaultFolders();
