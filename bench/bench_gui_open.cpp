// SPDX-License-Identifier: GPL-3.0-or-later
// How long the main window takes to list a big download tree and open its first file, and
// to open a file of many objects until its first object is shown. Offscreen, no timing
// assertions: the figures are printed.
#include "CatalogBodies.h"
#include "GuiBench.h"
#include "ProgramState.h"
#include "clsIFF.h"
#include "frmMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kFiles = 20000;
constexpr int kFilesPerFolder = 500;
constexpr int kObjects = 2000;
constexpr int kRuns = 5;

QByteArray ObjectFileBytes(const QString& scratch, int objects)
{
    clsIFF doc;
    for (int i = 0; i < objects; ++i) {
        const auto id = quint16(128 + i);
        ObjdSpec spec;
        spec.price = quint16(i);
        spec.catalogStringsId = id;
        spec.sorts[0] = 1;
        spec.sorts[1] = 2;
        const QByteArray name = "Object " + QByteArray::number(i);
        doc.AddResource("OBJD", id, name);
        doc.Resource("OBJD" + QByteArray::number(id)).SetBody(MakeObjdBody(spec));
        doc.AddResource("CTSS", id, "");
        doc.Resource("CTSS" + QByteArray::number(id))
            .SetBody(MakeCatalogCtss(name, "A generated object"));
    }
    doc.AddResource("BMP_", 128, "Catalog");
    doc.Resource("BMP_128").SetBody(MakeBmp(74, 37, qRgb(200, 120, 40)));
    const QString path = scratch + "/scratch.iff";
    if (!doc.SaveFile(path))
        return {};
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Figures {
    std::vector<double> ms;
    void add(qint64 nanoseconds) { ms.push_back(nanoseconds / 1e6); }
    void print(const char* what, double targetMs)
    {
        std::sort(ms.begin(), ms.end());
        std::printf("%-58s min %8.1f ms  median %8.1f ms  (target %.0f ms, %d runs)\n", what,
                    ms.front(), ms[ms.size() / 2], targetMs, int(ms.size()));
    }
};

} // namespace

int main(int argc, char* argv[])
{
    GuiBench bench(argc, argv);
    const QTemporaryDir& root = bench.root;
    if (!root.isValid())
        return 1;
    const QString tree = root.path() + "/Downloads";

    const QByteArray small = ObjectFileBytes(root.path(), 1);
    const QByteArray big = ObjectFileBytes(root.path(), kObjects);
    if (small.isEmpty() || big.isEmpty()) {
        std::fprintf(stderr, "could not build the sample files\n");
        return 1;
    }
    for (int i = 0; i < kFiles; ++i) {
        const QString folder = tree + QString("/set%1").arg(i / kFilesPerFolder, 3, 10, QChar('0'));
        if (i % kFilesPerFolder == 0)
            QDir().mkpath(folder);
        if (!WriteBytes(folder + QString("/object%1.iff").arg(i, 5, 10, QChar('0')), small))
            return 1;
    }
    const QString bigFolder = root.path() + "/Big";
    QDir().mkpath(bigFolder);
    WriteBytes(bigFolder + "/a_first.iff", small);
    WriteBytes(bigFolder + "/b_many.iff", big);

    // 1. Listing the tree and opening its first file (what Refresh List does).
    ProgramState.Folders = {FolderEntry{tree + "/", true}};
    Figures listing;
    {
        frmMain window;
        window.show();
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            window.LoadIffs();
            listing.add(timer.nsecsElapsed());
        }
        if (window.lstFiles->topLevelItemCount() != kFiles || window.CurrentObject != 128) {
            std::fprintf(stderr, "listing gave %d rows\n", window.lstFiles->topLevelItemCount());
            return 1;
        }
    }

    // 2. Opening a file of 2,000 objects until its first object is shown.
    ProgramState.Folders = {FolderEntry{bigFolder + "/", false}};
    Figures opening;
    {
        frmMain window;
        window.show();
        QTreeWidgetItem* small = window.lstFiles->topLevelItem(0);
        QTreeWidgetItem* many = window.lstFiles->topLevelItem(1);
        for (int run = 0; run < kRuns; ++run) {
            window.lstFiles_ItemClick(small);
            QElapsedTimer timer;
            timer.start();
            window.lstFiles_ItemClick(many);
            opening.add(timer.nsecsElapsed());
        }
        if (window.lstObjects->topLevelItemCount() != kObjects ||
            window.txtName->text() != "Object 0") {
            std::fprintf(stderr, "the big file showed %d objects\n",
                         window.lstObjects->topLevelItemCount());
            return 1;
        }
    }

    std::printf("Main window, offscreen platform\n");
    listing.print("list 20,000 files and open the first", 1000);
    opening.print("open a file of 2,000 objects, first object shown", 100);
    return bench.prompt.asked().isEmpty() ? 0 : 2;
}
