// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes read as a FAR archive. The reader must refuse with a reason or
// give entries that read exactly as the manifest says; an archive rebuilt from the readable
// entries must read back the same; every object file inside loads from memory without asking.
//
// Build as fuzz_iff_roundtrip (see there), target fuzz_far_archive. Run on a copy of the seeds:
//   mkdir -p /tmp/far-corpus && cp fuzz/corpus_far/* /tmp/far-corpus/
//   build-fuzz/fuzz/fuzz_far_archive /tmp/far-corpus -max_total_time=600
// The seeds are written by fuzz/make_corpus.py.

#include "FarArchive.h"
#include "Prompt.h"
#include "clsIFF.h"

#include <QBuffer>
#include <cstdio>
#include <cstdlib>

namespace
{

void fail(const char* what)
{
    std::fprintf(stderr, "FAR reader broken: %s\n", what);
    std::abort();
}

// Loading from memory must never ask anything.
class NoPrompt : public Prompt
{
public:
    PromptAnswer message(const QString&, const QString&, PromptIcon, PromptButtons) override
    {
        fail("a prompt was shown");
        return PromptAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString pickFolder(const QString&) override { return {}; }
    bool confirmTrash(const QString&) override { return false; }
    void openUrl(const QString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static NoPrompt prompt;
    SetPrompt(&prompt);
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    FarArchive far;
    if (!far.read(device)) {
        if (far.errorString().isEmpty() || !far.entries().isEmpty())
            fail("a refusal without a reason, or with entries");
        return 0;
    }
    QList<QPair<QByteArray, QByteArray>> readable;
    for (const FarArchive::Entry& entry : far.entries()) {
        QByteArray content;
        const bool read = far.readEntry(device, entry, &content);
        if (read != entry.problem.isEmpty())
            fail("an entry read against its problem");
        if (!read)
            continue;
        if (content.size() != qsizetype(entry.size) ||
            content != bytes.mid(entry.offset, entry.size))
            fail("an entry's bytes differ from the archive's");
        readable.append({entry.name, content});
        clsIFF doc;
        doc.LoadData(content);
    }
    const FarArchive::Variant variant = far.variant();
    QByteArray rebuilt = FarArchive::Build(readable, variant);
    QBuffer again(&rebuilt);
    again.open(QIODevice::ReadOnly);
    FarArchive back;
    if (!back.read(again))
        fail("a rebuilt archive does not read back");
    // A manifest that reads to the end both ways is ambiguous by nature; the wide reading wins.
    if (back.variant() != variant)
        return 0;
    if (back.entries().size() != readable.size())
        fail("a rebuilt archive reads back another number of entries");
    for (int i = 0; i < readable.size(); ++i) {
        QByteArray content;
        if (back.entries()[i].name != readable[i].first ||
            !back.readEntry(again, back.entries()[i], &content) || content != readable[i].second)
            fail("a rebuilt archive reads back different entries");
    }
    return 0;
}
