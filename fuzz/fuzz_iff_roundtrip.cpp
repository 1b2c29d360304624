// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes loaded as an IFF file must save, and the saved file must load
// back to the same resources and save to the same bytes. The input also drives a sequence of
// resource-list calls (ResourceScript.h), on the loaded document or, when the
// bytes do not load, on an empty one; the key index must stay right throughout.
//
// Build (clang):
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DKESTRANE_FUZZ=ON -DKESTRANE_TESTS=OFF \
//       -DKESTRANE_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
//   cmake --build build-fuzz --target fuzz_iff_roundtrip -j2
// Run (work on a copy of the seeds so that they stay small):
//   mkdir -p /tmp/iff-corpus && cp fuzz/corpus/* /tmp/iff-corpus/
//   build-fuzz/fuzz/fuzz_iff_roundtrip /tmp/iff-corpus -max_total_time=600
// The seeds are written by fuzz/make_corpus.py.

#include "Prompt.h"
#include "ResourceScript.h"
#include "clsIFF.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace
{

// Damaged signatures are the common case here; nobody needs to read about each one.
class SilentPrompt : public Prompt
{
public:
    PromptAnswer message(const QString&, const QString&, PromptIcon, PromptButtons) override
    {
        return PromptAnswer::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString pickFolder(const QString&) override { return {}; }
    bool confirmTrash(const QString&) override { return false; }
    void openUrl(const QString&) override {}
};

void fail(const char* what)
{
    std::fprintf(stderr, "round trip broken: %s\n", what);
    std::abort();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read a saved file");
    return file.readAll();
}

// Counts rows and checks that their keys are unique, as a list view needs.
class KeyCheckingSink : public IListSink
{
public:
    void Clear() override { keys.clear(); }
    void AddRow(const QByteArray& key, const QByteArray&, const QList<QByteArray>&) override
    {
        if (keys.contains(key))
            fail("a listing repeated a row key");
        keys.insert(key);
    }
    QSet<QByteArray> keys;
};

bool sameRecord(const clsResource& a, const clsResource& b)
{
    return a.Format == b.Format && a.ID == b.ID && a.Unknown == b.Unknown && a.Name == b.Name &&
           a.Body() == b.Body() && a.Length == b.Length;
}

void playScript(clsIFF& doc, const QByteArray& script)
{
    const std::string wrong = PlayResourceScript(doc, script);
    if (!wrong.empty()) {
        std::fprintf(stderr, "key index broken: %s\n", wrong.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentPrompt prompt;
    // tmpfs where there is one: every save syncs its file, which is slow on a disk.
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? "/dev/shm/fuzz_iff-XXXXXX"
                                                       : QDir::tempPath() + "/fuzz_iff-XXXXXX");
    static const QString input = dir.filePath("in.iff");
    static const QString first = dir.filePath("first.iff");
    static const QString second = dir.filePath("second.iff");
    SetPrompt(&prompt);

    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail("cannot write the input file");
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    clsIFF original;
    if (!original.LoadFile(input)) {
        clsIFF empty;
        playScript(empty, bytes);
        return 0;
    }
    KeyCheckingSink sink;
    original.GenerateAllResourceList(sink);
    original.GenerateFormatList(sink);

    if (!original.SaveFile(first))
        fail("a loaded document did not save");

    clsIFF reloaded;
    if (!reloaded.LoadFile(first))
        fail("a saved file did not load");
    // The reloaded document is the original without its old map and fillers, plus the new map.
    int r = 1;
    for (int i = 1; i <= original.ResourceCount(); ++i) {
        const clsResource& rec = original.Resource(i);
        if (rec.Format == "rsmp")
            continue;
        if (r > reloaded.ResourceCount() || !sameRecord(rec, reloaded.Resource(r)))
            fail("a resource changed");
        ++r;
    }
    if (r != reloaded.ResourceCount() || reloaded.Resource(r).Format != "rsmp")
        fail("the new map is not the last resource");
    if (reloaded.SignatureCredit() != original.SignatureCredit())
        fail("the signature credit changed");

    if (!reloaded.SaveFile(second))
        fail("a reloaded document did not save");
    if (readAll(first) != readAll(second))
        fail("the second save differs from the first");

    // Catalog text of any shape reads without leaving its body; writing back what was read
    // changes nothing, and a text reported writable takes a new value and only that.
    for (const quint16 id : reloaded.ObjdIDs()) {
        const QByteArray name = reloaded.GetName(id);
        const QByteArray description = reloaded.GetDescription(id);
        const CatalogTextAccess access = reloaded.GetCatalogTextAccess(id);
        if (!reloaded.SetCtss(id, name, description) || reloaded.GetName(id) != name ||
            reloaded.GetDescription(id) != description)
            fail("writing back the catalog text changed it");
        if (access.nameWritable &&
            (!reloaded.SetCtss(id, "N\r\n\xa0", description) ||
             reloaded.GetName(id) != "N\r\n\xa0" || reloaded.GetDescription(id) != description))
            fail("a writable name was not written alone");
        if (!access.descriptionWritable && description != "*NONE*" &&
            reloaded.SetCtss(id, reloaded.GetName(id), description + "x"))
            fail("a description that cannot be written was written");
    }

    // The calls come from the end of the input, where the last chunk's body lies.
    playScript(original, bytes.right(256));
    return 0;
}
