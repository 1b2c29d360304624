#pragma once

// Replaces ProgramState.Folders with the twelve folders of a standard installation under
// ProgramState.GameFolder.
void SetDefaultFolders();
