// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoCatalog.h"

namespace
{

const char* const kGameSofa = "Sofa - Classic";

// Sort slots: Function, Sub-Function, Room, Downtown, Vacation, Community, Studio Town,
// Magic Town, Build Mode. The values are the catalog's own bit flags.
enum Function {
    Seating = 1,
    Surfaces = 2,
    Appliances = 4,
    Electronics = 8,
    Plumbing = 16,
    Decorative = 32,
    Miscellaneous = 64,
    Lighting = 128
};
enum Room {
    Kitchen = 1,
    Bedroom = 2,
    Bathroom = 4,
    FamilyRoom = 8,
    Outside = 16,
    DiningRoom = 32,
    AnyRoom = 64,
    Study = 128
};

DemoObject Object(const char* resourceName, const QString& name, const QString& description,
                  quint16 price, SortSet sorts, IconPicture picture, QRgb colour)
{
    DemoObject object;
    object.resourceName = resourceName;
    object.name = name;
    object.description = description;
    object.price = price;
    object.sorts = sorts;
    object.picture = picture;
    object.iconColour = colour;
    return object;
}

DemoFile File(const QString& path, QList<DemoObject> objects,
              DemoFile::Kind kind = DemoFile::Kind::Normal)
{
    return DemoFile{path, kind, std::move(objects)};
}

} // namespace

QStringList DemoFolders()
{
    return {QStringLiteral("GameData/Objects"), QStringLiteral("GameData/UserObjects"),
            QStringLiteral("Downloads/Vacation Pack"), QStringLiteral("Downloads/Build Mode"),
            QStringLiteral("ExpansionPack")};
}

QList<DemoFile> DemoFiles()
{
    QList<DemoFile> files;
    files << File(QStringLiteral("GameData/Objects/DiningChairOak.iff"), {[] {
                      DemoObject chair = Object(
                          "Dining Chair - Oak", QStringLiteral("Oakley Dining Chair"),
                          QStringLiteral("Solid oak with a hand-rubbed finish: firm enough to "
                                         "keep your Sims awake through a three-course dinner."),
                          120, {Seating, 1, Kitchen | DiningRoom, 1, 0, 1, 1, 1, 0},
                          IconPicture::Chair, qRgb(150, 95, 45));
                      // A clone of a game object: 18 languages, French translated.
                      chair.languageSets = 18;
                      chair.translations.insert(
                          3, {QStringLiteral("Chaise de salle \u00e0 manger Oakley"),
                              QStringLiteral("Ch\u00eane massif, fini \u00e0 la main.")});
                      return chair;
                  }()});
    files << File(QStringLiteral("GameData/Objects/SofaPlush.iff"),
                  {Object("Sofa - Plush", QStringLiteral("Plushmore Sofa"),
                          QStringLiteral("Three cushions of pure comfort. Naps guaranteed; "
                                         "getting up again is not."),
                          650, {Seating, 4, FamilyRoom, 0, 1, 0, 0, 0, 0}, IconPicture::Sofa,
                          qRgb(190, 40, 50))});
    files << File(QStringLiteral("GameData/Objects/KitchenSet.iff"),
                  {Object("Counter - Proven\xe7"
                          "al",
                          QStringLiteral("Proven\u00e7al Counter"),
                          QStringLiteral("Tiled in sunny blue. The caf\u00e9 look at home, "
                                         "without the caf\u00e9 prices."),
                          180, {Surfaces, 1, Kitchen, 1, 0, 1, 1, 1, 0}, IconPicture::Counter,
                          qRgb(40, 110, 190)),
                   Object("Fridge - Chill 3000", QStringLiteral("Chill 3000 Refrigerator"),
                          QStringLiteral("Keeps food fresh and leftovers mysterious. Energy "
                                         "class A \u2013 for \u201cAlways running\u201d."),
                          800, {Appliances, 2, Kitchen, 1, 1, 1, 1, 1, 0}, IconPicture::Fridge,
                          qRgb(120, 190, 200))});
    files << File(QStringLiteral("GameData/UserObjects/TelevisionRetro.iff"), {[] {
                      DemoObject tv = Object(
                          "TV - Retro Tube", QStringLiteral("Retro Tube Television"),
                          QStringLiteral("Twelve channels, all of them reruns. Disabled in the "
                                         "catalog until the rabbit ears arrive."),
                          350, {Electronics, 2, FamilyRoom | Study, 2, 8, 0, 4, 0, 0},
                          IconPicture::Television, qRgb(70, 70, 90));
                      tv.disabled = true;
                      return tv;
                  }()});
    files << File(QStringLiteral("GameData/UserObjects/PaintingSunset.iff"),
                  {Object("Painting - Sunset", QStringLiteral("\u201cSunset over Sim City\u201d"),
                          QStringLiteral("An original in oils. This file is read-only: saving "
                                         "it keeps it read-only."),
                          1200, {Decorative, 1, AnyRoom | FamilyRoom | Bedroom, 2, 0, 2, 2, 4, 0},
                          IconPicture::Painting, qRgb(60, 40, 90))},
                  DemoFile::Kind::ReadOnly);
    files << File(QStringLiteral("Downloads/DoubleBedMultiTile.iff"), {[] {
                      DemoObject bed = Object(
                          "Double Bed - Lead", QStringLiteral("Dreamweaver Double Bed"),
                          QStringLiteral("Two tiles of sleep. Only the lead tile shows in the "
                                         "object list; the other tiles share its group."),
                          1500, {Seating, 8, Bedroom, 0, 1, 0, 0, 0, 0}, IconPicture::Bed,
                          qRgb(230, 170, 190));
                      bed.extraTiles = 2;
                      return bed;
                  }()});
    files << File(QStringLiteral("Downloads/FloorLampArc.iff"),
                  {Object("Lamp - Arc Floor", QStringLiteral("Arc Floor Lamp"),
                          QStringLiteral("Bends over backwards to light your reading chair."), 90,
                          {Lighting, 2, FamilyRoom | Bedroom | Study, 8, 1, 8, 4, 2, 0},
                          IconPicture::Lamp, qRgb(40, 60, 110))});
    files << File(QStringLiteral("Downloads/GardenGnome.iff"), {[] {
                      DemoObject gnome = Object("Gnome - Garden", QString(), QString(), 25,
                                                {Decorative, 2, Outside, 4, 4, 4, 0, 8, 0},
                                                IconPicture::Gnome, qRgb(70, 150, 60));
                      gnome.hasCatalogText = false;
                      return gnome;
                  }()});
    files << File(QStringLiteral("Downloads/PetBowl.iff"),
                  {Object("Pet Bowl", QStringLiteral("Pet Food Bowl"),
                          QStringLiteral("For cats, dogs and the occasional curious toddler."), 15,
                          {Miscellaneous, 32, Kitchen | AnyRoom, 0, 0, 0, 0, 0, 0},
                          IconPicture::Bowl, qRgb(200, 140, 60))});
    files << File(QStringLiteral("Downloads/OldFormatStool.iff"),
                  {Object("Stool - Bar", QStringLiteral("Old-Timer Bar Stool"),
                          QStringLiteral("Saved by an old tool in the 2.0 format; Kestrane "
                                         "writes it back as 2.5."),
                          45, {Seating, 16, Kitchen | AnyRoom, 1, 1, 1, 1, 1, 0},
                          IconPicture::Stool, qRgb(110, 110, 110))},
                  DemoFile::Kind::Version20);
    files << File(QStringLiteral("Downloads/Vacation Pack/BrokenDownload.iff"), {},
                  DemoFile::Kind::BadSignature);
    files << File(QStringLiteral("Downloads/Vacation Pack/TikiTorch.iff"),
                  {Object("Torch - Tiki", QStringLiteral("Tiki Torch"),
                          QStringLiteral("Island ambience for any backyard luau."), 60,
                          {Lighting, 16, Outside, 4, 8 | 4, 4, 0, 8, 0}, IconPicture::Torch,
                          qRgb(30, 100, 80))});
    files << File(QStringLiteral("Downloads/Vacation Pack/HotTubDeluxe.iff"),
                  {Object("Hot Tub - Deluxe", QStringLiteral("Bubble Bliss Hot Tub"),
                          QStringLiteral("Seats six, relaxes everyone. Warning: may cause "
                                         "wrinkly toes."),
                          3500, {Plumbing, 8, Outside | Bathroom, 4, 4, 4, 8, 0, 0},
                          IconPicture::HotTub, qRgb(20, 80, 150))});
    files << File(QStringLiteral("Downloads/Vacation Pack/HalfDownloaded.iff"),
                  {Object("Window - Bay", QStringLiteral("Bay Window"),
                          QStringLiteral("The download stopped halfway through this file."), 400,
                          {0, 0, 0, 0, 0, 0, 0, 0, 2}, IconPicture::Window, qRgb(90, 140, 180))},
                  DemoFile::Kind::Truncated);
    files << File(QStringLiteral("Downloads/Build Mode/DoorArched.iff"),
                  {Object("Door - Arched", QStringLiteral("Arched Oak Door"),
                          QStringLiteral("A grand entrance for a modest price."), 300,
                          {0, 0, 0, 0, 0, 0, 0, 0, 1}, IconPicture::Door, qRgb(180, 160, 120))});
    // A recolour that kept the GUID of the game's own sofa: the catalog shows only one of them.
    files << File(QStringLiteral("Downloads/SofaClassicRecolour.iff"), {[] {
                      DemoObject sofa =
                          Object("Sofa - Classic Recolour", QStringLiteral("Classic Sofa in Teal"),
                                 QStringLiteral("A recolour that kept the GUID of the game's own "
                                                "sofa. Find Object lists the conflict."),
                                 400, {Seating, 4, FamilyRoom, 0, 1, 0, 0, 0, 0}, IconPicture::Sofa,
                                 qRgb(30, 140, 140));
                      sofa.guid = DemoGuid(kGameSofa);
                      return sofa;
                  }()});
    // The same download saved twice in two folders.
    for (const QString& path : {QStringLiteral("Downloads/RugRound.iff"),
                                QStringLiteral("Downloads/Vacation Pack/RugRound.iff")})
        files << File(path, {Object("Rug - Round", QStringLiteral("Round Braided Rug"),
                                    QStringLiteral("Downloaded twice into two folders: the "
                                                   "copies are identical, so delete one."),
                                    75, {Decorative, 4, AnyRoom, 2, 2, 2, 2, 2, 0},
                                    IconPicture::Bowl, qRgb(170, 90, 60))});
    return files;
}

QList<DemoArchive> DemoArchives()
{
    return {DemoArchive{
        QStringLiteral("GameData/Objects/Objects.far"),
        {File(QStringLiteral("ChairMaxisDining.iff"),
              {Object("Chair - Maxis Dining", QStringLiteral("Maxis Dining Chair"),
                      QStringLiteral("One of the game's own objects, read from its archive."), 80,
                      {Seating, 1, Kitchen | DiningRoom, 1, 0, 1, 1, 1, 0}, IconPicture::Chair,
                      qRgb(120, 120, 160))}),
         File(QStringLiteral("SofaClassic.iff"),
              {Object(kGameSofa, QStringLiteral("Classic Sofa"),
                      QStringLiteral("The game's own sofa. A download shares its GUID."), 450,
                      {Seating, 4, FamilyRoom, 0, 1, 0, 0, 0, 0}, IconPicture::Sofa,
                      qRgb(140, 60, 40))}),
         File(QStringLiteral("LampMaxisTable.iff"),
              {Object("Lamp - Maxis Table", QStringLiteral("Maxis Table Lamp"),
                      QStringLiteral("Lights a corner, reads no archives."), 40,
                      {Lighting, 1, AnyRoom, 8, 1, 8, 4, 2, 0}, IconPicture::Lamp,
                      qRgb(200, 180, 60))})}}};
}

quint32 DemoGuid(const QByteArray& resourceName)
{
    // FNV-1a: stable across runs and platforms.
    quint32 hash = 2166136261u;
    for (const char c : resourceName) {
        hash ^= quint8(c);
        hash *= 16777619u;
    }
    return hash == 0 ? 1 : hash;
}
