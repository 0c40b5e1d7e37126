// An event with its uploaded files and its students split by whether they have uploaded.
#pragma once

#include "data/TDO_Event.h"
#include "data/TDO_UploadedFile.h"

class TDO_Event_WithUploadedList : public TDO_Event {
public:
    TDO_Event_WithUploadedList();
    TDO_Event_WithUploadedList(const TDO_Event_WithUploadedList &AObj) : TDO_Event_WithUploadedList() {
        Duplicate(AObj);
    }
    explicit TDO_Event_WithUploadedList(const TDOX_Base &AObj) : TDO_Event_WithUploadedList() {
        Duplicate(AObj);
    }
    TDO_Event_WithUploadedList &operator=(const TDO_Event_WithUploadedList &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    // The three lists end sorted.
    void ReadFromNode(TXmlNode ANode) override;

    const TDO_UploadedFiles &Uploads() const { return FUploads; }
    TDO_UploadedFiles &Uploads() { return FUploads; }
    const TDO_Event_StudentEntries &Students_WhoHaveUploaded() const { return FStudents_WhoHaveUploaded; }
    TDO_Event_StudentEntries &Students_WhoHaveUploaded() { return FStudents_WhoHaveUploaded; }
    const TDO_Event_StudentEntries &Students_WithoutAnUpload() const { return FStudents_WithoutAnUpload; }
    TDO_Event_StudentEntries &Students_WithoutAnUpload() { return FStudents_WithoutAnUpload; }

    // Matches ignore letter case; found entries stay owned by their list.
    int Upload_FindIndex_ByStudentIDandProtectedInfo(const QString &AStudentID,
                                                     const QString &AProtectedInfo) const;
    TDO_UploadedFile *Upload_FindEntry_ByStudentIDandProtectedInfo(const QString &AStudentID,
                                                                   const QString &AProtectedInfo) const;
    int Upload_FindIndex_ByStudentIDONLY(const QString &AStudentID) const;
    int Upload_AddEntry(std::unique_ptr<TDO_UploadedFile> AEntry);
    // By student ID, then protected information (a to z folded), then received time.
    void Uploads_Sort();

    int Students_WhoHaveUploaded_FindIndex_ByID(const QString &AStudentID) const;
    TDO_Event_StudentEntry *Students_WhoHaveUploaded_FindEntry_ByID(const QString &AStudentID) const;
    int Students_WhoHaveUploaded_AddEntry(std::unique_ptr<TDO_Event_StudentEntry> AEntry);
    void Students_WhoHaveUploaded_Sort();
    int Students_WithoutAnUpload_FindIndex_ByID(const QString &AStudentID) const;
    TDO_Event_StudentEntry *Students_WithoutAnUpload_FindEntry_ByID(const QString &AStudentID) const;
    int Students_WithoutAnUpload_AddEntry(std::unique_ptr<TDO_Event_StudentEntry> AEntry);
    void Students_WithoutAnUpload_Sort();

    // Appends the stored uploads (descriptions only, no file bytes) found under the event's folder of the
    // store, then splits the event's students by whether an upload carries their ID. Lists are not cleared or
    // sorted.
    void BuildUploadsFromDisk(const QString &AServerEventDataFolder, const QString &AStartCode);

private:
    TDO_UploadedFiles FUploads;
    TDO_Event_StudentEntries FStudents_WhoHaveUploaded;
    TDO_Event_StudentEntries FStudents_WithoutAnUpload;
};
