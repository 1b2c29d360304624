// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes read as the text of a Wine registry file (system.reg). Looking
// a value up must stay within the bytes whatever they hold (the sanitizers watch): cut files,
// keys and strings without their closing bracket or quote, escapes and hex runs that end with
// the file, continuation lines that lead nowhere.
//
// Build as fuzz_iff_roundtrip (see there), target fuzz_wine_registry. Run on a copy of the
// seed, a registry holding values of every kind:
//   mkdir -p /tmp/reg-corpus && cp fuzz/corpus_reg/* /tmp/reg-corpus/
//   build-fuzz/fuzz/fuzz_wine_registry /tmp/reg-corpus -max_total_time=600

#include "WineRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString key = QStringLiteral("Software\\Maxis\\The Sims");
    // Names of every kind of value in the seed, and the key's default value.
    for (const char* name : {"InstallPath", "Quoted", "Count", "NoEnd", "Bin", ""})
        WineRegistry::FindValue(text, key, QString::fromLatin1(name));
    return 0;
}
