#include "data/TDO_Event_WithUploadedList.h"

#include <QDir>
#include <QSet>

#include <algorithm>

namespace {

int FindStudentIndex(const TDO_Event_StudentEntries &AEntries, const QString &AStudentID) {
    for (size_t i = 0; i < AEntries.size(); ++i) {
        if (AEntries[i]->ID().compare(AStudentID, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int AddStudent(TDO_Event_StudentEntries &AEntries, std::unique_ptr<TDO_Event_StudentEntry> AEntry) {
    if (!AEntry)
        return -1;
    AEntries.push_back(std::move(AEntry));
    return int(AEntries.size()) - 1;
}

} // namespace

TDO_Event_WithUploadedList::TDO_Event_WithUploadedList()
    : TDO_Event(QStringLiteral("event_with_uploaded_list")) {
    TDO_Event_WithUploadedList::Initialize();
}

void TDO_Event_WithUploadedList::Initialize() {
    TDO_Event::Initialize();
    FUploads.clear();
    FStudents_WhoHaveUploaded.clear();
    FStudents_WithoutAnUpload.clear();
}

void TDO_Event_WithUploadedList::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDO_Event::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Event_WithUploadedList *>(&AObj)) {
        FUploads.reserve(o->FUploads.size());
        for (const auto &u : o->FUploads)
            FUploads.push_back(u->Clone());
        TDO_Event_StudentList::CopyEntries(o->FStudents_WhoHaveUploaded, FStudents_WhoHaveUploaded);
        TDO_Event_StudentList::CopyEntries(o->FStudents_WithoutAnUpload, FStudents_WithoutAnUpload);
    }
    RestoreNodeName();
}

void TDO_Event_WithUploadedList::WriteToNode(TXmlNode ANode) const {
    TDO_Event::WriteToNode(ANode);
    if (!ANode)
        return;
    TXmlNode uploads = ANode.append_child("uploads");
    for (const auto &u : FUploads)
        ChildNode_AddAndWrite(uploads, u.get());
    TDO_Event_StudentList::WriteEntries(ANode.append_child("students_who_have_uploaded"),
                                        FStudents_WhoHaveUploaded);
    TDO_Event_StudentList::WriteEntries(ANode.append_child("students_without_an_upload"),
                                        FStudents_WithoutAnUpload);
}

void TDO_Event_WithUploadedList::ReadFromNode(TXmlNode ANode) {
    TDO_Event::ReadFromNode(ANode);
    if (!ANode)
        return;
    if (TXmlNode uploads = ANode.child("uploads")) {
        static const char *const KUpload = "uploadedfile";
        size_t count = 0;
        for (TXmlNode n = uploads.child(KUpload); n; n = n.next_sibling(KUpload))
            ++count;
        FUploads.reserve(count);
        for (TXmlNode n = uploads.child(KUpload); n; n = n.next_sibling(KUpload)) {
            auto upload = std::make_unique<TDO_UploadedFile>();
            upload->ReadFromNode(n);
            FUploads.push_back(std::move(upload));
        }
        Uploads_Sort();
    }
    TDO_Event_StudentList::ReadEntries(ANode.child("students_who_have_uploaded"), FStudents_WhoHaveUploaded);
    Students_WhoHaveUploaded_Sort();
    TDO_Event_StudentList::ReadEntries(ANode.child("students_without_an_upload"), FStudents_WithoutAnUpload);
    Students_WithoutAnUpload_Sort();
}

int TDO_Event_WithUploadedList::Upload_FindIndex_ByStudentIDandProtectedInfo(
    const QString &AStudentID, const QString &AProtectedInfo) const {
    for (size_t i = 0; i < FUploads.size(); ++i) {
        const TDO_UploadedFile &u = *FUploads[i];
        if (u.StudentID().compare(AStudentID, Qt::CaseInsensitive) == 0 &&
            u.ProtectedInfo().compare(AProtectedInfo, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

TDO_UploadedFile *TDO_Event_WithUploadedList::Upload_FindEntry_ByStudentIDandProtectedInfo(
    const QString &AStudentID, const QString &AProtectedInfo) const {
    const int i = Upload_FindIndex_ByStudentIDandProtectedInfo(AStudentID, AProtectedInfo);
    return i < 0 ? nullptr : FUploads[size_t(i)].get();
}

int TDO_Event_WithUploadedList::Upload_FindIndex_ByStudentIDONLY(const QString &AStudentID) const {
    for (size_t i = 0; i < FUploads.size(); ++i) {
        if (FUploads[i]->StudentID().compare(AStudentID, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

int TDO_Event_WithUploadedList::Upload_AddEntry(std::unique_ptr<TDO_UploadedFile> AEntry) {
    if (!AEntry)
        return -1;
    FUploads.push_back(std::move(AEntry));
    return int(FUploads.size()) - 1;
}

void TDO_Event_WithUploadedList::Uploads_Sort() {
    if (FUploads.size() < 2)
        return;
    struct TItem {
        QString StudentID;
        QString ProtectedInfo;
        qint64 Created;
        TDO_UploadedFile *Upload;
    };
    std::vector<TItem> items;
    items.reserve(FUploads.size());
    for (auto &u : FUploads)
        items.push_back({FoldAsciiUpper(u->StudentID()), FoldAsciiUpper(u->ProtectedInfo()),
                         u->CreatedUTC().MSecs(), u.get()});
    std::sort(items.begin(), items.end(), [](const TItem &L, const TItem &R) {
        if (const int c = L.StudentID.compare(R.StudentID); c != 0)
            return c < 0;
        if (const int c = L.ProtectedInfo.compare(R.ProtectedInfo); c != 0)
            return c < 0;
        return L.Created < R.Created;
    });
    for (auto &p : FUploads)
        p.release();
    for (size_t i = 0; i < items.size(); ++i)
        FUploads[i].reset(items[i].Upload);
}

int TDO_Event_WithUploadedList::Students_WhoHaveUploaded_FindIndex_ByID(const QString &AStudentID) const {
    return FindStudentIndex(FStudents_WhoHaveUploaded, AStudentID);
}
TDO_Event_StudentEntry *
TDO_Event_WithUploadedList::Students_WhoHaveUploaded_FindEntry_ByID(const QString &AStudentID) const {
    const int i = Students_WhoHaveUploaded_FindIndex_ByID(AStudentID);
    return i < 0 ? nullptr : FStudents_WhoHaveUploaded[size_t(i)].get();
}
int TDO_Event_WithUploadedList::Students_WhoHaveUploaded_AddEntry(
    std::unique_ptr<TDO_Event_StudentEntry> AEntry) {
    return AddStudent(FStudents_WhoHaveUploaded, std::move(AEntry));
}
void TDO_Event_WithUploadedList::Students_WhoHaveUploaded_Sort() {
    TDO_Event_StudentList::SortEntries_ByIDText(FStudents_WhoHaveUploaded);
}

int TDO_Event_WithUploadedList::Students_WithoutAnUpload_FindIndex_ByID(const QString &AStudentID) const {
    return FindStudentIndex(FStudents_WithoutAnUpload, AStudentID);
}
TDO_Event_StudentEntry *
TDO_Event_WithUploadedList::Students_WithoutAnUpload_FindEntry_ByID(const QString &AStudentID) const {
    const int i = Students_WithoutAnUpload_FindIndex_ByID(AStudentID);
    return i < 0 ? nullptr : FStudents_WithoutAnUpload[size_t(i)].get();
}
int TDO_Event_WithUploadedList::Students_WithoutAnUpload_AddEntry(
    std::unique_ptr<TDO_Event_StudentEntry> AEntry) {
    return AddStudent(FStudents_WithoutAnUpload, std::move(AEntry));
}
void TDO_Event_WithUploadedList::Students_WithoutAnUpload_Sort() {
    TDO_Event_StudentList::SortEntries_ByIDText(FStudents_WithoutAnUpload);
}

void TDO_Event_WithUploadedList::BuildUploadsFromDisk(const QString &AServerEventDataFolder,
                                                      const QString &AStartCode) {
    QString folder = AServerEventDataFolder;
    if (!folder.endsWith(u'/') && !folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    const QString uploadSub = RecommendedStorageUploadFolder();
    if (!AServerEventDataFolder.isEmpty() && QDir(folder).exists() && !uploadSub.isEmpty()) {
        const QDir uploadDir(folder + uploadSub);
        if (uploadDir.exists()) {
            const QStringList files =
                uploadDir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden, QDir::Name);
            FUploads.reserve(FUploads.size() + size_t(files.size()));
            for (const QString &name : files) {
                auto upload = std::make_unique<TDO_UploadedFile>();
                if (!upload->LoadFrom_File(uploadDir.filePath(name), AStartCode))
                    continue;
                upload->SetFileData(QByteArray());
                FUploads.push_back(std::move(upload));
            }
        }
    }
    // One pass over the uploads instead of a search per student: the split stays linear for large classes.
    QSet<QString> uploaded;
    uploaded.reserve(qsizetype(FUploads.size()));
    for (const auto &u : FUploads)
        uploaded.insert(u->StudentID().toCaseFolded());
    const TDO_Event_StudentEntries &students = Students().Entries();
    for (const auto &s : students) {
        if (uploaded.contains(s->ID().toCaseFolded()))
            FStudents_WhoHaveUploaded.push_back(s->Clone());
        else
            FStudents_WithoutAnUpload.push_back(s->Clone());
    }
}
