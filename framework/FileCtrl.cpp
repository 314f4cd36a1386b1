#include "framework/FileCtrl.h"

#include <cctype>

#include "framework/FileSystem.h"
#include "framework/FormLoader.h"

namespace pellix {

namespace {

// "C:\a\b" -> "C:\", "C:\a", "C:\a\b"
std::vector<std::string> PathSteps(const std::string& dir) {
    std::vector<std::string> steps;
    if (dir.size() < 2) return steps;
    std::string root = dir.substr(0, 3);
    if (root.size() == 2) root += '\\';
    steps.push_back(root);
    size_t at = 3;
    while (at < dir.size()) {
        size_t end = dir.find('\\', at);
        if (end == std::string::npos) end = dir.size();
        steps.push_back(dir.substr(0, end));
        at = end + 1;
    }
    return steps;
}

std::string LastPart(const std::string& path) {
    if (path.size() <= 3) return path;
    return path.substr(path.find_last_of('\\') + 1);
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

}  // namespace

// ------------------------------------------------------- TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TListBox(owner), directory_(GetCurrentDir()) {}

TDirectoryListBox::~TDirectoryListBox() {
    if (driveCombo_ != nullptr && driveCombo_->dirList_ == this) driveCombo_->dirList_ = nullptr;
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
    TListBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == driveCombo_) driveCombo_ = nullptr;
}

void TDirectoryListBox::SetDirectory(const std::string& directory) {
    if (SameText(directory, directory_)) return;
    // A relative name is taken from the list's own folder.
    SetCurrentDirectoryA(directory_.c_str());
    if (!SetCurrentDirectoryA(directory.c_str())) throw EInOutError("Cannot open folder " + directory);
    directory_ = GetCurrentDir();
    BuildList();
    Change();
}

void TDirectoryListBox::SetDrive(char drive) {
    if (std::toupper(static_cast<unsigned char>(drive)) == std::toupper(static_cast<unsigned char>(Drive()))) return;
    char path[MAX_PATH * 4];
    std::string driveOnly = std::string(1, drive) + ":";
    DWORD n = GetFullPathNameA(driveOnly.c_str(), sizeof(path), path, nullptr);
    SetDirectory(n > 0 && n < sizeof(path) ? std::string(path, n) : driveOnly + "\\");
}

std::string TDirectoryListBox::GetItemPath(int index) const {
    return index >= 0 && index < static_cast<int>(paths_.size()) ? paths_[static_cast<size_t>(index)] : std::string();
}

void TDirectoryListBox::Change() {
    if (driveCombo_ != nullptr) driveCombo_->SetDrive(Drive());
    if (OnChange) OnChange(this);
}

void TDirectoryListBox::CreateWnd() {
    TListBox::CreateWnd();
    BuildList();
}

void TDirectoryListBox::BuildList() {
    Items().Clear();
    paths_.clear();
    std::vector<std::string> steps = PathSteps(directory_);
    for (size_t i = 0; i < steps.size(); ++i) {
        Items().Add(std::string(i * 2, ' ') + LastPart(steps[i]));
        paths_.push_back(steps[i]);
    }
    int current = static_cast<int>(paths_.size()) - 1;
    if (!directory_.empty()) {
        std::vector<std::string> subs;
        WIN32_FIND_DATAA fd;
        HANDLE find = FindFirstFileA(Join(directory_, "*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") subs.push_back(name);
            } while (FindNextFileA(find, &fd));
            FindClose(find);
        }
        for (const std::string& s : subs) {
            Items().Add(std::string(steps.size() * 2, ' ') + s);
            paths_.push_back(Join(directory_, s));
        }
    }
    SetItemIndex(current);
}

void TDirectoryListBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == LBN_DBLCLK) {
        std::string path = GetItemPath(ItemIndex());
        if (!path.empty()) SetDirectory(path);
        return;
    }
    TListBox::Dispatch(message);
}

// ---------------------------------------------------------- TDriveComboBox

TDriveComboBox::TDriveComboBox(TComponent* owner) : TCustomComboBox(owner) {
    Style = TComboBoxStyle::csDropDownList;
    std::string cur = GetCurrentDir();
    drive_ = cur.empty() ? 'c' : static_cast<char>(std::tolower(static_cast<unsigned char>(cur[0])));
}

TDriveComboBox::~TDriveComboBox() {
    if (dirList_ != nullptr && dirList_->driveCombo_ == this) dirList_->driveCombo_ = nullptr;
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dirList_) dirList_ = nullptr;
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    if (dirList_ != nullptr) dirList_->driveCombo_ = nullptr;
    dirList_ = list;
    if (list != nullptr) {
        list->driveCombo_ = this;
        list->FreeNotification(this);
        if (list->Drive() != '\0') SetDrive(list->Drive());
    }
}

void TDriveComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    BuildList();
}

void TDriveComboBox::BuildList() {
    SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
    drives_.clear();
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        char letter = static_cast<char>('a' + i);
        std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        char label[MAX_PATH] = "";
        UINT type = GetDriveTypeA(root.c_str());
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK)
            GetVolumeInformationA(root.c_str(), label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0);
        std::string text = std::string(1, letter) + ":";
        if (label[0] != '\0') text += std::string(" [") + label + "]";
        SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        drives_.push_back(letter);
    }
    SelectDrive();
}

void TDriveComboBox::SelectDrive() {
    if (handle_ == nullptr) return;
    for (size_t i = 0; i < drives_.size(); ++i)
        if (drives_[i] == drive_) SendMessageA(handle_, CB_SETCURSEL, i, 0);
}

void TDriveComboBox::SetDrive(char drive) {
    drive = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
    if (drive == drive_) return;
    drive_ = drive;
    SelectDrive();
    if (dirList_ != nullptr) dirList_->SetDrive(drive);
    if (OnChange) OnChange(this);
}

void TDriveComboBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == CBN_SELCHANGE) {
        int index = static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
        if (index >= 0 && index < static_cast<int>(drives_.size())) SetDrive(drives_[static_cast<size_t>(index)]);
        return;
    }
    TCustomComboBox::Dispatch(message);
}

void RegisterFileCtrlClasses() {
    RegisterClassInfo("TDirectoryListBox", "TListBox", Factory<TDirectoryListBox>())
        .Property("OnChange", EventProp(&TDirectoryListBox::OnChange));
    RegisterClassInfo("TDriveComboBox", "TCustomComboBox", Factory<TDriveComboBox>())
        .Property("DirList", Prop<TDriveComboBox>([](TDriveComboBox& d, const FormValue& v, LoadContext& x) {
            x.Reference(v, [&d](TComponent* c) { d.SetDirList(dynamic_cast<TDirectoryListBox*>(c)); });
        }))
        .Property("OnChange", EventProp(&TDriveComboBox::OnChange));
}

}  // namespace pellix
