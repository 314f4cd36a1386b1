// Drive and folder choosers.
#pragma once

#include <vector>

#include "framework/StdCtrls.h"

namespace pellix {

class TDriveComboBox;

// Shows the current folder's path from its drive down, then its sub-folders.
class TDirectoryListBox : public TListBox {
public:
    explicit TDirectoryListBox(TComponent* owner);
    ~TDirectoryListBox() override;
    std::string ClassName() const override { return "TDirectoryListBox"; }

    // Without a trailing backslash, except for a drive's root.
    const std::string& Directory() const { return directory_; }
    // A folder other than the list's own becomes current, the list is
    // refilled and OnChange runs. A folder that cannot be made current
    // raises EInOutError.
    void SetDirectory(const std::string& directory);
    char Drive() const { return directory_.empty() ? '\0' : directory_[0]; }
    void SetDrive(char drive);
    // The folder of a list row.
    std::string GetItemPath(int index) const;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TDriveComboBox;
    void BuildList();
    void Change();

    std::string directory_;
    std::vector<std::string> paths_;  // one per row
    TDriveComboBox* driveCombo_ = nullptr;
};

class TDriveComboBox : public TCustomComboBox {
public:
    explicit TDriveComboBox(TComponent* owner);
    ~TDriveComboBox() override;
    std::string ClassName() const override { return "TDriveComboBox"; }

    char Drive() const { return drive_; }
    // Moves the linked folder list to the drive's current folder.
    void SetDrive(char drive);
    TDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TDirectoryListBox* list);
    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TDirectoryListBox;
    void BuildList();
    void SelectDrive();
    char drive_;
    std::vector<char> drives_;
    TDirectoryListBox* dirList_ = nullptr;
};

void RegisterFileCtrlClasses();

}  // namespace pellix
