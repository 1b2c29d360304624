// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IListSink.h"
#include "StateTypes.h"
#include "clsResource.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Which of an object's catalog texts a save can change, and why not (for a person).
struct CatalogTextAccess {
    bool nameWritable = false;
    bool descriptionWritable = false;
    QString reason; // empty when both can be written
};

// One language set of an object's catalog text (strings 0 and 1 of that language).
struct CatalogLanguageText {
    quint8 language = 1; // 1 US English, 2 UK English, 3 French, ... 20 Korean
    QByteArray name;
    QByteArray description; // empty when the set holds the name only
};

// Which language sets an edit of the catalog text reaches.
enum class CtssScope {
    Copies,    // the shown set, and every other set's string that held the same bytes
    ShownOnly, // the shown set only
};

// One IFF object file held in memory: an ordered, keyed list of resources (keys compare
// without regard to case) and the IDs of its OBJD, BMP_ and CTSS chunks in load order.
class clsIFF
{
public:
    enum class LoadError { None, CannotOpen, InvalidSignature, TooLarge };
    // Chunk sizes and the map offset are 32-bit: no object file can be larger.
    static constexpr qint64 kMaxFileSize = 0xFFFFFFFFLL;

    clsIFF();
    ~clsIFF();
    clsIFF(const clsIFF&) = delete;
    clsIFF& operator=(const clsIFF&) = delete;

    // --- resource list ---
    int ResourceCount() const;
    // Position 1 to ResourceCount, or a key; throws IffError when absent.
    clsResource& Resource(int position);
    const clsResource& Resource(int position) const;
    clsResource& Resource(const QByteArray& key);
    const clsResource& Resource(const QByteArray& key) const;
    bool IsResource(const QByteArray& key) const;
    // The first record held under Format + ID whose type code is exactly format, case
    // included, or nullptr: an "objd" chunk is no OBJD, though it shares the key.
    clsResource* FindExact(const QByteArray& format, quint16 id);
    const clsResource* FindExact(const QByteArray& format, quint16 id) const;
    // Moves the record held under currentKey to the end under its present Key; throws
    // IffError when absent.
    void UpdateKey(const QByteArray& currentKey);
    bool AddResource(const QByteArray& cFormat, quint16 cID, const QByteArray& cName);
    void DelResource(const QByteArray& key); // throws IffError when absent
    void Clear();

    const QList<quint16>& ObjdIDs() const { return m_objdIDs; }
    const QList<quint16>& BmpIDs() const { return m_bmpIDs; }
    const QList<quint16>& CtssIDs() const { return m_ctssIDs; }
    int ObjdCount() const { return m_objdIDs.size(); }
    int BmpCount() const { return m_bmpIDs.size(); }
    int CtssCount() const { return m_ctssIDs.size(); }

    // --- loading and saving ---
    // Adds the file's chunks to what the document holds. False when the file cannot be opened
    // (no message; errorString() says why) or its signature is wrong (the user is told
    // "Invalid IFF File" through the prompt seam).
    // The signature is checked from the first bytes before the rest is read; a file larger
    // than kMaxFileSize is refused with a message.
    bool LoadFile(const QString& FileName);
    // As LoadFile for a file's bytes already in memory (an archive entry), and it never asks
    // or tells the user anything, so it may run on any thread: false with lastLoadError()
    // InvalidSignature (wrong signature or too short) or TooLarge.
    bool LoadData(const QByteArray& data);
    LoadError lastLoadError() const { return m_loadError; }
    // Why the last successful load found the file damaged (a chunk size below 76 or past the
    // end of the file, or bytes left over that hold no whole chunk); empty when it was whole.
    // The chunks that could be read are loaded either way.
    QString damageString() const { return m_damage; }
    // Called once the new content is complete beside the old file and before it replaces it,
    // with the new content's SHA-256 and size. False cancels the save: the old file stays as
    // it was, and errorString() is the hook's error.
    using BeforeReplace =
        std::function<bool(const QByteArray& newSha256, qint64 newSize, QString& error)>;
    // Writes the whole document with a rebuilt resource map. The old file is replaced only
    // once the new one is complete; on failure it stays as it was and errorString() says why.
    bool SaveFile(const QString& FileName, const BeforeReplace& beforeReplace = {});
    // The bytes SaveFile would write; nullopt when the document cannot be saved (errorString()).
    std::optional<QByteArray> SaveBytes();
    QString errorString() const { return m_errorString; }
    // Bytes 35-59 of the signature of the last file loaded (the maker's credit), written back
    // on save; empty until a file was loaded.
    const QByteArray& SignatureCredit() const { return m_signatureCredit; }

    // --- listings ---
    void GenerateFormatList(IListSink& List) const;
    void GenerateResourceList(IListSink& List, const QByteArray& Format) const;
    void GenerateAllResourceList(IListSink& List) const;

    // --- object catalog ---
    // Rows: key "OBJD<id>", text the chunk name, one sub-item: the ID in decimal.
    void GenerateObjectList(IListSink& List) const;
    // Catalog name / description bytes, or "*NONE*": strings 0 and 1 of the language set the
    // game shows (ProgramState.GameLanguage's when it holds a text, else US English's, else
    // the first) of the string-list formats 0x0000, 0xFFFF, 0xFFFE, 0xFFFD and 0xFFFC; only
    // the strings the table's count declares; "*NONE*" for other formats.
    QByteArray GetName(quint16 ObjdID) const;
    QByteArray GetDescription(quint16 ObjdID) const;
    // The language code of the set GetName reads; 0 when the object has no catalog text.
    quint8 GetCatalogLanguage(quint16 ObjdID) const;
    // Every language set of the catalog text, in table order.
    QList<CatalogLanguageText> GetCatalogTexts(quint16 ObjdID) const;
    // Only a 0xFFFD catalog text is ever written: the shown set's name, and its description
    // when the set holds string 1 as well.
    CatalogTextAccess GetCatalogTextAccess(quint16 ObjdID) const;
    // These three throw IffError for an OBJD the document does not hold.
    qint32 GetPrice(quint16 ObjdID) const;
    bool GetDisabled(quint16 ObjdID) const;
    SortSet GetSorts(quint16 ObjdID) const;
    // The object's catalog icon; the placeholder when it has none; a null image when the
    // icon's body cannot be decoded.
    QImage GetIcon(quint16 ObjdID, const QImage& placeholder) const;
    // Setters change resource bodies in memory. A value the OBJD already holds (as the getter
    // reads it) is left as stored, byte for byte. False when the OBJD is not held, or when
    // its body is too short for a field whose value would change (nothing changes).
    // SetCtss changes a text only where it differs from what GetName / GetDescription read,
    // and only in place, so the rest of the body stays byte for byte. It is false and changes
    // nothing when a text that differs cannot be written (GetCatalogTextAccess) or holds a 0
    // byte. It is true and changes nothing for an object without catalog text. A changed text
    // also replaces the other language sets' copies of the old one (CtssScope).
    bool SetCtss(quint16 ObjdID, const QByteArray& NameStr, const QByteArray& DescriptStr,
                 CtssScope scope = CtssScope::Copies);
    bool SetPrice(quint16 ObjdID, qint32 Price);
    bool SetDisabled(quint16 ObjdID, bool Disabled);
    bool SetSorts(quint16 ObjdID, const SortSet& Sorts);

private:
    // Lays the file out, then streams it to the device open() gives (nullptr: refused, with
    // m_errorString set); the size of what was written, and (when hash) a call that gives its
    // SHA-256 once the hash, which may run on, is done. Only while the document is unchanged.
    bool streamOut(const std::function<QIODevice*()>& open, bool hash,
                   std::function<QByteArray()>* sha256, qint64* size);
    static QByteArray foldKey(QByteArray key);
    clsResource* find(const QByteArray& key) const;
    // Adds at the end; the key lookup keeps pointing at the first record of a key.
    void append(std::unique_ptr<clsResource> record);
    // Brings the key index up to date with the records added since it was last used.
    void indexAll() const;
    // Takes the first record held under key out of the list.
    std::unique_ptr<clsResource> take(const QByteArray& key);
    static bool signatureMatches(const QByteArray& data);
    void refuse(LoadError error, const QString& reason);
    // Shared by LoadFile and LoadData once the bytes are in memory; no messages.
    bool loadBytes(const QByteArray& data);
    void parseChunks(const QByteArray& data);

    std::vector<std::unique_ptr<clsResource>> m_resources;
    // Folded key -> first record held under it, for the first m_indexed records. The rest are
    // indexed at the next lookup, so that a load and a save never build it. Lookups therefore
    // change these two even through const calls: one document is for one thread at a time.
    mutable QHash<QByteArray, clsResource*> m_byKey;
    mutable std::size_t m_indexed = 0;
    QList<quint16> m_objdIDs;
    QList<quint16> m_bmpIDs;
    QList<quint16> m_ctssIDs;
    QByteArray m_signatureCredit;
    // The bytes of the last file loaded, which loaded bodies share: a save writes a chunk that
    // is still as loaded straight from them.
    QByteArray m_loaded;
    LoadError m_loadError = LoadError::None;
    QString m_errorString;
    QString m_damage;
};
