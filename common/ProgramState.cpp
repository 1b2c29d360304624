// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramState.h"

QByteArray MakeIffSignature(const char* version)
{
    QByteArray signature = QByteArrayLiteral("IFF FILE ");
    signature += version;
    signature += QByteArrayLiteral(":TYPE FOLLOWED BY SIZE");
    signature += '\0';
    signature += QByteArrayLiteral(" KALMODERIVESTA & MAXIS 1");
    return signature;
}

ProgramStateData ProgramState;
